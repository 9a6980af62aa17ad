#pragma once
// Choosing how an export's video is compressed: one of the encoders this build of FFmpeg has, a
// quality or a bit rate, and the distance between key frames.
#include <QComboBox>
#include <QDialog>
#include <QSpinBox>

#include "export/avi_writer.h"

namespace dvr::app {

class EncoderDialog final : public QDialog {
  Q_OBJECT

 public:
  // Opens on `choice`; an encoder that is not offered gives way to the first one that is.
  explicit EncoderDialog(const exporting::VideoEncoderChoice& choice, QWidget* parent = nullptr);

  // The choice OK took, or the choice given with `cancelled` set once the dialog was cancelled.
  const exporting::VideoEncoderChoice& Values() const { return values_; }

  void accept() override;
  void reject() override;

 private:
  exporting::VideoEncoderChoice values_;
  QComboBox* codec_;
  QSpinBox* quality_;
  QSpinBox* bit_rate_kbps_;
  QSpinBox* key_frame_interval_;
};

}  // namespace dvr::app

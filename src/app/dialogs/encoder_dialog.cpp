#include "app/dialogs/encoder_dialog.h"

#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/dialog_parts.h"

namespace dvr::app {
namespace {

constexpr int kWorstQuality = 31;
constexpr int kMaxBitRateKbps = 1'000'000;
constexpr int kMaxKeyFrameInterval = 1000;

}  // namespace

EncoderDialog::EncoderDialog(const exporting::VideoEncoderChoice& choice, QWidget* parent)
    : QDialog(parent),
      values_(choice),
      codec_(new QComboBox),
      quality_(new QSpinBox),
      bit_rate_kbps_(new QSpinBox),
      key_frame_interval_(new QSpinBox) {
  setWindowTitle(tr("ビデオの圧縮"));
  setFont(DialogFont());
  codec_->setObjectName("codec");
  quality_->setObjectName("quality");
  bit_rate_kbps_->setObjectName("bitRate");
  key_frame_interval_->setObjectName("keyFrameInterval");

  for (const std::string& name : exporting::AvailableVideoEncoders()) {
    codec_->addItem(QString::fromStdString(name));
  }
  quality_->setRange(0, kWorstQuality);
  quality_->setSpecialValueText(tr("既定"));
  quality_->setToolTip(tr("1 is the best picture, 31 the smallest file."));
  bit_rate_kbps_->setRange(0, kMaxBitRateKbps);
  bit_rate_kbps_->setSpecialValueText(tr("なし"));
  bit_rate_kbps_->setSuffix(tr(" kbit/s"));
  key_frame_interval_->setRange(0, kMaxKeyFrameInterval);
  key_frame_interval_->setSpecialValueText(tr("既定"));

  QDialogButtonBox* buttons = OkCancelButtons(this);
  auto* fields = new QFormLayout;
  fields->addRow(tr("圧縮プログラム(&C):"), codec_);
  fields->addRow(tr("品質(&Q):"), quality_);
  fields->addRow(tr("データレート(&D):"), bit_rate_kbps_);
  fields->addRow(tr("キーフレーム間隔(&K):"), key_frame_interval_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(buttons);

  // The encoder takes a bit rate instead of a quality: with one set, the quality has no say.
  connect(bit_rate_kbps_, &QSpinBox::valueChanged, quality_,
          [this](int kbps) { quality_->setEnabled(kbps == 0); });

  const int offered = codec_->findText(QString::fromStdString(choice.codec));
  codec_->setCurrentIndex(offered >= 0 ? offered : 0);
  quality_->setValue(choice.quality);
  bit_rate_kbps_->setValue(static_cast<int>(choice.bit_rate / 1000));
  key_frame_interval_->setValue(choice.key_frame_interval);
  OkButton(buttons)->setEnabled(codec_->count() > 0);
}

void EncoderDialog::accept() {
  values_.codec = codec_->currentText().toStdString();
  values_.quality = quality_->value();
  values_.bit_rate = static_cast<int64_t>(bit_rate_kbps_->value()) * 1000;
  values_.key_frame_interval = key_frame_interval_->value();
  values_.cancelled = false;
  QDialog::accept();
}

void EncoderDialog::reject() {
  values_.cancelled = true;
  QDialog::reject();
}

}  // namespace dvr::app

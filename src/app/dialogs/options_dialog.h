#pragma once
// The player's options: window on top, the time in the channel labels, repeat at the end, and the
// folder still images go to.
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>

#include <string>

namespace dvr::app {

struct OptionsValues {
  bool always_on_top = false;
  bool show_time = false;
  std::string still_folder = "/tmp";  // typed freely; the capture creates it when it saves
  bool repeat = false;
  std::string time_format = "%Y/%m/%d %H:%M:%S";  // no control: passed through
  bool use_direct_draw = false;                   // its check box is hidden: passed through
};

class OptionsDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit OptionsDialog(const OptionsValues& values, QWidget* parent = nullptr);

  // The values OK took; the values given while the dialog has not been accepted.
  const OptionsValues& Values() const { return values_; }

  void accept() override;

 private:
  OptionsValues values_;
  QCheckBox* always_on_top_;
  QCheckBox* show_time_;
  QCheckBox* repeat_;
  QCheckBox* use_direct_draw_;
  QLineEdit* still_folder_;
};

}  // namespace dvr::app

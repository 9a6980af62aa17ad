#pragma once
// The network client's options: window on top, reconnection, repeat, the DDNS service, the folder
// local recordings go to, the connection time-out and the mouse remote control.
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>

#include <cstdint>
#include <string>

namespace dvr::app {

struct NetworkOptionsValues {
  bool always_on_top = false;
  bool use_direct_draw = false;  // its check box is hidden: passed through
  bool auto_reconnection = false;
  bool repeat = false;
  std::string ddns_address;
  uint16_t ddns_port = 0;
  std::string recording_folder;
  uint32_t timeout_ms = 0;  // edited in whole seconds: shown rounded down, stored times 1000
  int mouse_mode = 0;       // 0 off, 1 on with the DVR's cursor hidden, 2 on with it shown
};

class NetworkOptionsDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit NetworkOptionsDialog(const NetworkOptionsValues& values, QWidget* parent = nullptr);

  // The values OK took; the values given while the dialog has not been accepted.
  const NetworkOptionsValues& Values() const { return values_; }

  // Keeps the dialog open, with a message, while a port or the time-out is not a number in range.
  void accept() override;

 private:
  NetworkOptionsValues values_;
  QCheckBox* always_on_top_;
  QCheckBox* use_direct_draw_;
  QCheckBox* auto_reconnection_;
  QCheckBox* repeat_;
  QLineEdit* ddns_address_;
  QLineEdit* ddns_port_;
  QLineEdit* recording_folder_;
  QLineEdit* timeout_;
  QButtonGroup* mouse_mode_;
};

}  // namespace dvr::app

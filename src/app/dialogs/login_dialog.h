#pragma once
// Logging in to a DVR: its address (or, through the DDNS service, its name), the port and the
// password. The password always starts empty, and when the address is already there the focus
// waits in the password field, so that typing the password and pressing Enter logs in.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>

#include <cstdint>
#include <string>

namespace dvr::app {

struct LoginValues {
  std::string ip_address;  // the DVR's address for a direct login
  uint16_t port = 0;       // its port; not shown when logging in through the DDNS service
  bool use_ddns = false;   // its check box is hidden: passed through
  std::string dvr_name;    // the name the DDNS service is asked for
  std::string password;    // out only: the dialog never shows a password it was given
};

class LoginDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit LoginDialog(const LoginValues& values, QWidget* parent = nullptr);

  // The values Login took: the address went into the DVR name when using the DDNS service, else
  // into the IP address. The values given while the dialog has not been accepted.
  const LoginValues& Values() const { return values_; }

  // Keeps the dialog open, with a message, while a shown port is not a number in range.
  void accept() override;

 private:
  LoginValues values_;
  QLabel* address_label_;
  QLineEdit* address_;
  QLineEdit* password_;
  QCheckBox* use_ddns_;
  QLabel* port_label_;
  QLineEdit* port_;
};

}  // namespace dvr::app

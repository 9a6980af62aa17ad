#include "app/dialogs/login_dialog.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "app/dialogs/dialog_parts.h"
#include "app/dialogs/integer_field.h"

namespace dvr::app {

LoginDialog::LoginDialog(const LoginValues& values, QWidget* parent)
    : QDialog(parent),
      values_(values),
      address_label_(WithId(new QLabel, 1709)),
      address_(WithId(new QLineEdit, 1708)),
      password_(WithId(new QLineEdit, 1706)),
      use_ddns_(WithId(new QCheckBox(tr("Use dynamic ip service")), 1710)),
      port_label_(WithId(new QLabel(tr("Port:")), 1712)),
      port_(WithId(new QLineEdit, 1735)) {
  setWindowTitle(tr("Login"));
  setFont(DialogFont());
  password_->setEchoMode(QLineEdit::Password);
  values_.password.clear();

  auto* fields = new QGridLayout;
  fields->addWidget(address_label_, 0, 0);
  fields->addWidget(address_, 0, 1);
  fields->addWidget(new QLabel(tr("Password:")), 1, 0);
  fields->addWidget(password_, 1, 1);
  fields->addWidget(port_label_, 2, 0);
  fields->addWidget(port_, 2, 1);
  fields->addWidget(use_ddns_, 3, 1);
  use_ddns_->hide();

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addStretch(1);
  layout->addWidget(OkCancelButtons(this, tr("Login")));

  use_ddns_->setChecked(values.use_ddns);
  port_->setText(QString::number(values.port));
  if (values.use_ddns) {
    address_label_->setText(tr("Select DVR"));
    address_->setText(QString::fromStdString(values.dvr_name));
    port_label_->hide();
    port_->hide();
  } else {
    address_label_->setText(tr("IP address:"));
    address_->setText(QString::fromStdString(values.ip_address));
  }
  (address_->text().isEmpty() ? address_ : password_)->setFocus(Qt::OtherFocusReason);
}

void LoginDialog::accept() {
  // A hidden port is not the user's to correct: it passes through as it came.
  if (!port_->isHidden()) {
    const auto port = ReadWholeNumber(port_, port_label_->text(), 1, 65535);
    if (!port) return;
    values_.port = static_cast<uint16_t>(*port);
  }
  values_.use_ddns = use_ddns_->isChecked();
  (values_.use_ddns ? values_.dvr_name : values_.ip_address) = address_->text().toStdString();
  values_.password = password_->text().toStdString();
  QDialog::accept();
}

}  // namespace dvr::app

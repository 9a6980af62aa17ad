#include "app/dialogs/network_options_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialogs/dialog_parts.h"
#include "app/dialogs/folder_browser.h"
#include "app/dialogs/integer_field.h"

namespace dvr::app {
namespace {

constexpr int64_t kMaxPort = 65535;
// The longest time-out whose milliseconds still fit the client's 32-bit time-out.
constexpr int64_t kMaxTimeoutSeconds = UINT32_MAX / 1000;

}  // namespace

NetworkOptionsDialog::NetworkOptionsDialog(const NetworkOptionsValues& values, QWidget* parent)
    : QDialog(parent),
      values_(values),
      always_on_top_(WithId(new QCheckBox(tr("常に手前に表示")), 1665)),
      use_direct_draw_(WithId(new QCheckBox(tr("Use DirectDraw")), 1712)),
      auto_reconnection_(WithId(new QCheckBox(tr("Auto Reconnection (&C)")), 1667)),
      repeat_(WithId(new QCheckBox(tr("リピート再生 (&R)")), 1697)),
      ddns_address_(WithId(new QLineEdit, 1733)),
      ddns_port_(WithId(new QLineEdit, 1735)),
      recording_folder_(WithId(new QLineEdit, 1734)),
      timeout_(WithId(new QLineEdit, 1736)),
      mouse_mode_(new QButtonGroup(this)) {
  setWindowTitle(tr("Network Options"));
  setFont(DialogFont());

  auto* general = new QGroupBox(tr("全般"));
  auto* general_layout = new QVBoxLayout(general);
  for (QCheckBox* box : {always_on_top_, use_direct_draw_, auto_reconnection_, repeat_}) {
    general_layout->addWidget(box);
  }
  use_direct_draw_->hide();
  auto* timeout_row = new QHBoxLayout;
  timeout_row->addWidget(new QLabel(tr("Connection Timeout:")));
  timeout_row->addWidget(timeout_);
  timeout_row->addWidget(new QLabel(tr("sec")));
  timeout_row->addStretch(1);
  general_layout->addLayout(timeout_row);

  auto* ddns = new QGroupBox(tr("DDNS configuration"));
  auto* ddns_layout = new QFormLayout(ddns);
  ddns_layout->addRow(tr("IP:"), ddns_address_);
  ddns_layout->addRow(tr("Port:"), ddns_port_);

  auto* folder = new QGroupBox(tr("Path for recording file"));
  auto* folder_layout = new QHBoxLayout(folder);
  folder_layout->addWidget(recording_folder_, 1);
  folder_layout->addWidget(FolderBrowseButton(recording_folder_));

  // "&&" shows as one "&": the texts read as on the DVR's side.
  auto* mouse = new QGroupBox(tr("Mouse Remote Control"));
  auto* mouse_layout = new QVBoxLayout(mouse);
  const QString mode_texts[] = {tr("Disable"), tr("Enable && Hidden cusor on DVR side"),
                                tr("Enable && Display cusor on DVR side")};
  for (int mode = 0; mode < 3; ++mode) {
    auto* button = WithId(new QRadioButton(mode_texts[mode]), 1741 + mode);
    mouse_mode_->addButton(button, mode);
    mouse_layout->addWidget(button);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(general);
  layout->addWidget(ddns);
  layout->addWidget(folder);
  layout->addWidget(mouse);
  layout->addWidget(OkCancelButtons(this));

  always_on_top_->setChecked(values.always_on_top);
  use_direct_draw_->setChecked(values.use_direct_draw);
  auto_reconnection_->setChecked(values.auto_reconnection);
  repeat_->setChecked(values.repeat);
  ddns_address_->setText(QString::fromStdString(values.ddns_address));
  ddns_port_->setText(QString::number(values.ddns_port));
  recording_folder_->setText(QString::fromStdString(values.recording_folder));
  timeout_->setText(QString::number(values.timeout_ms / 1000));
  if (QAbstractButton* mode = mouse_mode_->button(values.mouse_mode)) mode->setChecked(true);
}

void NetworkOptionsDialog::accept() {
  const auto port = ReadWholeNumber(ddns_port_, tr("Port:"), 1, kMaxPort);
  if (!port) return;
  const auto timeout_seconds =
      ReadWholeNumber(timeout_, tr("Connection Timeout:"), 1, kMaxTimeoutSeconds);
  if (!timeout_seconds) return;

  values_.always_on_top = always_on_top_->isChecked();
  values_.use_direct_draw = use_direct_draw_->isChecked();
  values_.auto_reconnection = auto_reconnection_->isChecked();
  values_.repeat = repeat_->isChecked();
  values_.ddns_address = ddns_address_->text().toStdString();
  values_.ddns_port = static_cast<uint16_t>(*port);
  values_.recording_folder = recording_folder_->text().toStdString();
  values_.timeout_ms = static_cast<uint32_t>(*timeout_seconds * 1000);
  if (mouse_mode_->checkedId() >= 0) values_.mouse_mode = mouse_mode_->checkedId();
  QDialog::accept();
}

}  // namespace dvr::app

#include "app/dialogs/options_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/dialogs/dialog_parts.h"
#include "app/dialogs/folder_browser.h"

namespace dvr::app {

OptionsDialog::OptionsDialog(const OptionsValues& values, QWidget* parent)
    : QDialog(parent),
      values_(values),
      always_on_top_(WithId(new QCheckBox(tr("常に手前に表示")), 1665)),
      show_time_(WithId(new QCheckBox(tr("日時表示")), 1667)),
      repeat_(WithId(new QCheckBox(tr("リピート再生 (&R)")), 1697)),
      use_direct_draw_(WithId(new QCheckBox(tr("Use DirectDraw")), 1712)),
      still_folder_(WithId(new QLineEdit, 1664)) {
  setWindowTitle(tr("オプション"));
  setFont(DialogFont());

  auto* general = new QGroupBox(tr("全般"));
  auto* general_layout = new QVBoxLayout(general);
  for (QCheckBox* box : {always_on_top_, show_time_, repeat_, use_direct_draw_}) {
    general_layout->addWidget(box);
  }
  use_direct_draw_->hide();

  auto* folder = new QGroupBox(tr("静止画の保存先"));
  auto* folder_layout = new QHBoxLayout(folder);
  folder_layout->addWidget(still_folder_, 1);
  folder_layout->addWidget(FolderBrowseButton(still_folder_));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(general);
  layout->addWidget(folder);
  layout->addWidget(OkCancelButtons(this));

  always_on_top_->setChecked(values.always_on_top);
  show_time_->setChecked(values.show_time);
  repeat_->setChecked(values.repeat);
  use_direct_draw_->setChecked(values.use_direct_draw);
  still_folder_->setText(QString::fromStdString(values.still_folder));
}

void OptionsDialog::accept() {
  values_.always_on_top = always_on_top_->isChecked();
  values_.show_time = show_time_->isChecked();
  values_.repeat = repeat_->isChecked();
  values_.use_direct_draw = use_direct_draw_->isChecked();
  values_.still_folder = still_folder_->text().toStdString();
  QDialog::accept();
}

}  // namespace dvr::app

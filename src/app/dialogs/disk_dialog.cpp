#include "app/dialogs/disk_dialog.h"

#include <QVBoxLayout>

#include "app/dialogs/dialog_parts.h"

namespace dvr::app {

DiskDialog::DiskDialog(std::vector<media::DriveEntry> drives, QWidget* parent)
    : QDialog(parent), selection_(std::move(drives)), list_(WithId(new QListWidget, 1704)) {
  setWindowTitle(tr("ディスク選択"));
  setFont(DialogFont());
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setWordWrap(true);

  QDialogButtonBox* buttons = OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
  resize(420, 200);

  for (const media::DriveEntry& drive : selection_.Entries()) {
    list_->addItem(QString::fromStdString(drive.line));
  }
  if (selection_.Entries().empty()) {
    // Whole disks are readable only by root and the "disk" group: an empty list almost always
    // means the permission is missing, not the disk.
    auto* reason = new QListWidgetItem(
        tr("No disk could be opened. Reading DVR disks needs membership of the \"disk\" group "
           "or running as root."),
        list_);
    reason->setFlags(Qt::ItemIsEnabled);  // read in full colour, never chosen
    OkButton(buttons)->setEnabled(false);
    return;
  }
  list_->setCurrentRow(0);
  connect(list_, &QListWidget::currentRowChanged, this,
          [this](int row) { selection_.SelectionChanged(row); });
}

}  // namespace dvr::app

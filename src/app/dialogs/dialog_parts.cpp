#include "app/dialogs/dialog_parts.h"

#include <QCoreApplication>

namespace dvr::app {

QFont DialogFont() {
  return QFont(QStringLiteral("Arial"), 9);
}

QDialogButtonBox* OkCancelButtons(QDialog* dialog, const QString& ok_text) {
  auto* buttons = new QDialogButtonBox(dialog);
  QPushButton* ok = buttons->addButton(
      ok_text.isEmpty() ? QCoreApplication::translate("DialogParts", "OK") : ok_text,
      QDialogButtonBox::AcceptRole);
  WithId(ok, 1)->setDefault(true);
  WithId(buttons->addButton(QCoreApplication::translate("DialogParts", "キャンセル"),
                            QDialogButtonBox::RejectRole),
         2);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

QPushButton* OkButton(QDialogButtonBox* buttons) {
  return buttons->findChild<QPushButton*>(QStringLiteral("id1"));
}

}  // namespace dvr::app

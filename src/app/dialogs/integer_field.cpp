#include "app/dialogs/integer_field.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace dvr::app {

std::optional<int64_t> ReadWholeNumber(QLineEdit* edit, const QString& field, int64_t min,
                                       int64_t max) {
  bool is_number = false;
  const qlonglong value = edit->text().trimmed().toLongLong(&is_number, 10);
  if (is_number && value >= min && value <= max) return value;
  QWidget* dialog = edit->window();
  QMessageBox::warning(
      dialog, dialog->windowTitle(),
      QCoreApplication::translate("IntegerField", "%1 enter a whole number from %2 to %3.")
          .arg(field)
          .arg(min)
          .arg(max));
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
  return std::nullopt;
}

}  // namespace dvr::app

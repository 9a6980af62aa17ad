#include "app/gui_notices.h"

#include <QMessageBox>

namespace dvr::app {

void GuiNotices::Show(std::string_view text) {
  const QString message = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  QMetaObject::invokeMethod(
      parent_,
      [parent = parent_, message] {
        auto* box = new QMessageBox(QMessageBox::Warning, parent->windowTitle(), message,
                                    QMessageBox::Ok, parent);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
      },
      Qt::QueuedConnection);
}

}  // namespace dvr::app

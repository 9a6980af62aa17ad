#pragma once
// What every dialog of the viewer shares: its font, the names that let code find a control by its
// id, and the row of OK and Cancel buttons.
#include <QDialog>
#include <QDialogButtonBox>
#include <QFont>
#include <QPushButton>
#include <QString>

namespace dvr::app {

// Arial, 9 points.
QFont DialogFont();

// Names `widget` "id<number>" after its control id, so that tests and later code can find it.
template <class Widget>
Widget* WithId(Widget* widget, int id) {
  widget->setObjectName(QStringLiteral("id%1").arg(id));
  return widget;
}

// OK (id 1, the default button, reading `ok_text` when one is given) and "キャンセル" (id 2),
// wired to the dialog's accept and reject.
QDialogButtonBox* OkCancelButtons(QDialog* dialog, const QString& ok_text = {});

// The OK button of such a row.
QPushButton* OkButton(QDialogButtonBox* buttons);

}  // namespace dvr::app

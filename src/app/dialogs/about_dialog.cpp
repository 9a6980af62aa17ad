#include "app/dialogs/about_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/dialog_parts.h"
#include "platform/version.h"

namespace dvr::app {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("バージョン情報"));
  setFont(DialogFont());
  auto* layout = new QVBoxLayout(this);
  const QString version = QString::fromLatin1(platform::kProgramVersion);
  for (const QString& text : {tr("DVR-K470 Viewer %1").arg(version), tr("2.7.8.0"), version}) {
    layout->addWidget(new QLabel(text));
  }
  auto* buttons = new QDialogButtonBox(this);
  WithId(buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole), 1)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

}  // namespace dvr::app

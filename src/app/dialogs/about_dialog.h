#pragma once
// The about box: the viewer's name with its version, the file version and the version number.
#include <QDialog>

namespace dvr::app {

class AboutDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace dvr::app

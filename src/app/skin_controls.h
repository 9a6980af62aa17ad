#pragma once
// The main window's controls as the skin draws them: bitmap buttons named after their picture, the
// position and volume sliders, and the status line with its sprite.
#include <QIcon>

#include "app/controls.h"

namespace dvr::app {

class SkinControlFactory final : public ControlFactory {
 public:
  std::unique_ptr<Button> MakeButton(int id, bool checkable, QWidget* parent) override;
  std::unique_ptr<Slider> MakeSlider(int id, QWidget* parent) override;
  std::unique_ptr<StatusLine> MakeStatusLine(QWidget* parent) override;
};

// The application's icon at every size the skin draws it.
QIcon ApplicationIcon();

}  // namespace dvr::app

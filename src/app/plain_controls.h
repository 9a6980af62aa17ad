#pragma once
// The controls as plain Qt widgets: tool buttons with a symbol, a standard slider, a status line
// drawn as text. Used until the skin draws them with bitmaps, and wherever it cannot.
#include "app/controls.h"

namespace dvr::app {

class PlainControlFactory final : public ControlFactory {
 public:
  std::unique_ptr<Button> MakeButton(int id, bool checkable, QWidget* parent) override;
  std::unique_ptr<Slider> MakeSlider(int id, QWidget* parent) override;
  std::unique_ptr<StatusLine> MakeStatusLine(QWidget* parent) override;
};

}  // namespace dvr::app

#include "app/skin_controls.h"

#include "app/command_ids.h"
#include "ui/bitmap_button.h"
#include "ui/bitmap_slider.h"
#include "ui/skin_pixmap.h"
#include "ui/status_line.h"

namespace dvr::app {
namespace {

constexpr int kSliderHeight = 14;
constexpr int kVolumeWidth = 64;  // from its place up to the window's right border

class SkinButton final : public Button {
 public:
  SkinButton(bool checkable, QWidget* parent)
      : button_(new ui::BitmapButton(checkable ? ui::BitmapButton::kCheckBox
                                               : ui::BitmapButton::kPushButton,
                                     parent)) {
    button_->setFocusPolicy(Qt::NoFocus);  // keys go to the window (and on to the DVR)
    QObject::connect(button_, &QAbstractButton::clicked, [this] {
      // The window decides the checked state from what the command did.
      button_->setChecked(checked_);
      if (clicked) clicked();
    });
  }
  QWidget* Widget() override { return button_; }
  void SetImage(const QString& name) override {
    button_->SetBitmap(ui::LoadSkinPixmap(name), false, 0, false);
  }
  void SetChecked(bool on) override {
    checked_ = on;
    button_->setChecked(on);
  }
  bool Checked() const override { return checked_; }
  void SetEnabled(bool on) override { button_->setEnabled(on); }
  void SetTooltip(const QString& text) override { button_->SetTooltip(text); }

 private:
  ui::BitmapButton* button_;
  bool checked_ = false;
};

class SkinSlider final : public Slider {
 public:
  SkinSlider(const QString& look, QWidget* parent) : slider_(new ui::BitmapSlider(Qt::Horizontal, parent)) {
    slider_->SetChannelBitmaps(ui::LoadSkinPixmap(look + "-channel"),
                               ui::LoadSkinPixmap(look + "-channel-active"));
    slider_->SetThumbBitmaps(ui::LoadSkinPixmap(look + "-thumb"),
                             ui::LoadSkinPixmap(look + "-thumb-active"));
    slider_->resize(slider_->width(), kSliderHeight);
    QObject::connect(slider_, &ui::BitmapSlider::Tracked, [this](int position) {
      if (tracked) tracked(position);
    });
    QObject::connect(slider_, &ui::BitmapSlider::Set, [this](int position) {
      if (set) set(position);
    });
  }
  QWidget* Widget() override { return slider_; }
  void SetRange(int minimum, int maximum) override {
    slider_->SetRange(minimum, maximum);
    slider_->SetPageSize(std::max(1, (slider_->Maximum() - slider_->Minimum()) / 10));
  }
  void SetPosition(int position) override {
    if (slider_->Dragging()) return;  // the user's drag wins over the engine's position
    slider_->SetPosition(position);
  }
  int Position() const override { return slider_->Position(); }
  int Maximum() const override { return slider_->Maximum(); }
  void SetTooltip(const QString& text) override { slider_->SetTooltip(text); }

 private:
  ui::BitmapSlider* slider_;
};

class SkinStatusLine final : public StatusLine {
 public:
  explicit SkinStatusLine(QWidget* parent) : line_(new ui::StatusLine(parent)) {
    line_->SetSprite(ui::LoadSkinPixmap("status"));
  }
  QWidget* Widget() override { return line_; }
  void ShowPlayer(int play_state, const QString& text1, const QString& text2) override {
    line_->SetLayout(ui::StatusLine::kPlayerLayout);
    line_->SetPlayIcon(play_state);
    line_->SetTexts(text1, text2);
  }
  void ShowNetwork(int link_status, const std::array<uint16_t, 5>& values) override {
    line_->SetLayout(ui::StatusLine::kNetworkLayout);
    line_->SetLink(link_status, values);
  }

 private:
  ui::StatusLine* line_;
};

}  // namespace

std::unique_ptr<Button> SkinControlFactory::MakeButton(int, bool checkable, QWidget* parent) {
  return std::make_unique<SkinButton>(checkable, parent);
}

std::unique_ptr<Slider> SkinControlFactory::MakeSlider(int id, QWidget* parent) {
  auto slider = std::make_unique<SkinSlider>(id == kCtlVolume ? "volume" : "position", parent);
  if (id == kCtlVolume) slider->Widget()->resize(kVolumeWidth, kSliderHeight);
  return slider;
}

std::unique_ptr<StatusLine> SkinControlFactory::MakeStatusLine(QWidget* parent) {
  return std::make_unique<SkinStatusLine>(parent);
}

QIcon ApplicationIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    const QPixmap pixmap = ui::LoadSkinPixmap(QString("icon-%1").arg(size));
    if (!pixmap.isNull()) icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace dvr::app

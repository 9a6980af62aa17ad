#include "app/plain_controls.h"

#include <QCoreApplication>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

#include <map>

#include "app/command_ids.h"

namespace dvr::app {
namespace {

// A symbol for each picture name; a name without one shows as its own text.
QString SymbolFor(const QString& image) {
  // Shapes every common font has (DejaVu Sans, Liberation): no emoji, no media-control block.
  static const std::map<QString, QString> symbols = {
      {"open", "⏏"},        {"fast-backward", "◀◀"}, {"backward", "◀"},  {"step-backward", "|◀"},
      {"pause", "||"},       {"step-forward", "▶|"},  {"play", "▶"},       {"fast-forward", "▶▶"},
      {"still", "◉"},       {"export", "AVI"},       {"stop-export", "■"}, {"single", "1"},
      {"split4", "4"},       {"split9", "9"},         {"split16", "16"},    {"mute", "♪"},
      {"connect", "⇄"},     {"disconnect", "✕"},     {"dvr-pause", "||"},  {"dvr-rewind", "◀◀"},
      {"dvr-play", "▶"},    {"dvr-forward", "▶▶"},   {"dvr-stop", "■"},   {"dvr-record", "●"},
      {"camera1", "1"},      {"camera2", "2"},        {"camera3", "3"},     {"camera4", "4"},
      {"dvr-split", "⊞"},   {"dvr-menu", "M"},       {"dvr-up", "▲"},     {"dvr-down", "▼"},
      {"dvr-select", "↵"},  {"minimize", "_"},       {"close", "✕"},      {"player", "P"},
      {"network", "N"},
  };
  const auto found = symbols.find(image);
  return found == symbols.end() ? image : found->second;
}

class PlainButton final : public Button {
 public:
  PlainButton(bool checkable, QWidget* parent) : button_(new QToolButton(parent)) {
    button_->setCheckable(checkable);
    button_->setAutoRaise(true);
    button_->setFocusPolicy(Qt::NoFocus);  // keys go to the window (and on to the DVR)
    button_->setFixedSize(28, 28);
    QObject::connect(button_, &QToolButton::clicked, [this] {
      // The window decides the checked state from what the command did.
      if (button_->isCheckable()) button_->setChecked(checked_);
      if (clicked) clicked();
    });
  }
  QWidget* Widget() override { return button_; }
  void SetImage(const QString& name) override { button_->setText(SymbolFor(name)); }
  void SetChecked(bool on) override {
    checked_ = on;
    button_->setChecked(on);
  }
  bool Checked() const override { return checked_; }
  void SetEnabled(bool on) override { button_->setEnabled(on); }
  void SetTooltip(const QString& text) override { button_->setToolTip(text); }

 private:
  QToolButton* button_;
  bool checked_ = false;
};

// A slider that repaints only when its thumb moves by a pixel: the position slider follows the
// engine 25 times a second, and every repaint of a child costs a composition of the whole window
// (on the OpenGL path a texture upload).
class ThriftySlider final : public QSlider {
 public:
  explicit ThriftySlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

 protected:
  void sliderChange(SliderChange change) override {
    if (change == SliderValueChange && !isSliderDown()) {
      const int pixel = QStyle::sliderPositionFromValue(minimum(), maximum(), value(), width());
      if (pixel == painted_pixel_) return;
      painted_pixel_ = pixel;
    } else {
      painted_pixel_ = -1;
    }
    QSlider::sliderChange(change);
  }

 private:
  int painted_pixel_ = -1;
};

class PlainSlider final : public Slider {
 public:
  explicit PlainSlider(QWidget* parent) : slider_(new ThriftySlider(parent)) {
    slider_->setFixedHeight(18);
    slider_->setFocusPolicy(Qt::NoFocus);
    QObject::connect(slider_, &QSlider::valueChanged, [this](int value) {
      if (slider_->isSliderDown()) {
        if (tracked) tracked(value);
      } else if (set) {
        set(value);
      }
    });
    QObject::connect(slider_, &QSlider::sliderReleased, [this] {
      if (set) set(slider_->value());
    });
  }
  QWidget* Widget() override { return slider_; }
  void SetRange(int minimum, int maximum) override {
    const QSignalBlocker quiet(slider_);
    slider_->setRange(minimum, std::max(minimum, maximum));
    slider_->setPageStep(std::max(1, (slider_->maximum() - minimum) / 10));
  }
  void SetPosition(int position) override {
    if (slider_->isSliderDown()) return;  // the user's drag wins over the engine's position
    const QSignalBlocker quiet(slider_);
    slider_->setValue(position);
  }
  int Position() const override { return slider_->value(); }
  int Maximum() const override { return slider_->maximum(); }
  void SetTooltip(const QString& text) override { slider_->setToolTip(text); }

 private:
  QSlider* slider_;
};

// Black, with green text: the state and speed, then the frame time; or the link and channels.
class PlainStatusLine final : public StatusLine, public QWidget {
 public:
  explicit PlainStatusLine(QWidget* parent) : QWidget(parent) {
    QFont font("Arial");
    font.setPixelSize(14);
    font.setWeight(QFont::DemiBold);
    setFont(font);
  }
  QWidget* Widget() override { return this; }
  void ShowPlayer(int /*play_state*/, const QString& text1, const QString& text2) override {
    Show(text1, text2);
  }
  void ShowNetwork(int link_status, const std::array<uint16_t, 5>& values) override {
    static const char* const kLinks[] = {"Idle",       "Connecting",    "Logging in",  "Connected",
                                         "DDNS: connecting", "DDNS: querying", "DDNS: found"};
    QString channels;
    if (link_status == 3) {
      for (int channel = 0; channel < 4; ++channel) {
        const bool lost = (values[0] >> channel) & 1;
        const bool recording = (values[2] >> channel) & 1;
        channels += QString(" %1%2").arg(channel + 1).arg(lost ? "-" : recording ? "●" : "");
      }
    }
    const QString link = QCoreApplication::translate(
        "StatusLine", kLinks[link_status >= 0 && link_status <= 6 ? link_status : 0]);
    Show(link, channels);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setPen(QColor(0x00, 0xFF, 0x00));
    painter.drawText(QRect(32, 0, 200, height()), Qt::AlignLeft | Qt::AlignVCenter, text1_);
    painter.drawText(QRect(252, 0, std::max(0, width() - 252), height()),
                     Qt::AlignLeft | Qt::AlignVCenter, text2_);
  }

 private:
  // Repaints only when a text changed: the window sets them 25 times a second.
  void Show(const QString& text1, const QString& text2) {
    if (text1 == text1_ && text2 == text2_) return;
    text1_ = text1;
    text2_ = text2;
    update();
  }

  QString text1_, text2_;
};

}  // namespace

std::unique_ptr<Button> PlainControlFactory::MakeButton(int, bool checkable, QWidget* parent) {
  return std::make_unique<PlainButton>(checkable, parent);
}

std::unique_ptr<Slider> PlainControlFactory::MakeSlider(int id, QWidget* parent) {
  auto slider = std::make_unique<PlainSlider>(parent);
  if (id == kCtlVolume) slider->Widget()->setFixedWidth(64);  // up to the window's right edge
  return slider;
}

std::unique_ptr<StatusLine> PlainControlFactory::MakeStatusLine(QWidget* parent) {
  return std::make_unique<PlainStatusLine>(parent);
}

}  // namespace dvr::app

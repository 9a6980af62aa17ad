#pragma once
// The controls of the main window as the window uses them: a button, a slider and the status line.
// Plain Qt widgets implement them here; the skin implements them with bitmaps. The window never
// touches the widgets' own interfaces beyond placing them.
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace dvr::app {

class Button {
 public:
  virtual ~Button() = default;
  virtual QWidget* Widget() = 0;
  // The picture the button shows: a name the skin maps to its bitmaps ("play", "stop-export" ...).
  virtual void SetImage(const QString& name) = 0;
  virtual void SetChecked(bool on) = 0;
  virtual bool Checked() const = 0;
  virtual void SetEnabled(bool on) = 0;
  virtual void SetTooltip(const QString& text) = 0;

  std::function<void()> clicked;
};

class Slider {
 public:
  virtual ~Slider() = default;
  virtual QWidget* Widget() = 0;
  // The position is kept inside the range; an empty range (maximum <= minimum) holds its minimum.
  virtual void SetRange(int minimum, int maximum) = 0;
  virtual void SetPosition(int position) = 0;
  virtual int Position() const = 0;
  virtual int Maximum() const = 0;
  virtual void SetTooltip(const QString& text) = 0;

  std::function<void(int)> tracked;  // the thumb moves under the mouse
  std::function<void(int)> set;      // after a key, or when the thumb is let go
};

class StatusLine {
 public:
  virtual ~StatusLine() = default;
  virtual QWidget* Widget() = 0;
  // Player layout: the engine state's icon and two texts (state and speed; the frame time).
  virtual void ShowPlayer(int play_state, const QString& text1, const QString& text2) = 0;
  // Network layout: the link status (0..6) and the DVR's five status values.
  virtual void ShowNetwork(int link_status, const std::array<uint16_t, 5>& values) = 0;
};

// Makes the controls; the skin provides its own.
class ControlFactory {
 public:
  virtual ~ControlFactory() = default;
  virtual std::unique_ptr<Button> MakeButton(int id, bool checkable, QWidget* parent) = 0;
  virtual std::unique_ptr<Slider> MakeSlider(int id, QWidget* parent) = 0;
  virtual std::unique_ptr<StatusLine> MakeStatusLine(QWidget* parent) = 0;
};

}  // namespace dvr::app

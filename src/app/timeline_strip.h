#pragma once
// The strip at the bottom of the video area in player mode: the source's whole recorded time with
// its spans, gaps and bad or blank stretches, the picture shown now, the marked span and the time
// under the pointer. A click goes to a time; the wheel zooms around the pointer, a drag pans, Home
// or a double-click shows everything again.
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "app/timeline_view.h"
#include "media/time_map.h"

namespace dvr::app {

class TimelineStrip : public QWidget {
  Q_OBJECT

 public:
  explicit TimelineStrip(QWidget* parent = nullptr);

  static constexpr int kHeight = 18;

  void SetMap(std::shared_ptr<const media::TimeMap> map);  // nullptr: nothing open
  void SetProgress(int percent);                           // while building; SetMap ends it
  void SetPosition(std::optional<uint32_t> time);          // the picture shown now
  void SetMarks(std::optional<uint32_t> in, std::optional<uint32_t> out);
  const TimelineView& View() const { return view_; }

 signals:
  void TimeClicked(uint32_t time);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // Everything a paint depends on, in pixels: a change of any of it, and only that, repaints.
  struct Scene {
    std::optional<int> progress;
    const media::TimeMap* map = nullptr;
    TimelineView view;
    std::optional<int> position_x, mark_in_x, mark_out_x, hover_x;
    bool operator==(const Scene&) const = default;
  };

  // True when there is recorded time to show and point at.
  bool ShowsTimes() const;
  std::optional<int> PixelOf(std::optional<uint32_t> time) const;
  Scene CurrentScene() const;
  void Refresh();
  QString TimeTextAt(int x) const;

  void DrawBands(QPainter& painter) const;
  void DrawMarks(QPainter& painter) const;
  void DrawPosition(QPainter& painter) const;
  void DrawHoverTime(QPainter& painter) const;
  void DrawProgress(QPainter& painter) const;

  std::shared_ptr<const media::TimeMap> map_;
  std::vector<TimeBand> bands_;
  std::optional<int> progress_;
  std::optional<uint32_t> position_, mark_in_, mark_out_;
  std::optional<int> hover_x_;
  TimelineView view_;
  Scene shown_;

  // A left press: where, and the view then, so that a drag pans from it without drifting.
  bool pressed_ = false;
  bool dragging_ = false;
  int press_x_ = 0;
  TimelineView press_view_;
};

}  // namespace dvr::app

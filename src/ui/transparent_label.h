#pragma once
// A line of text drawn straight over its parent's background: no fill of its own, so whatever the
// parent draws under it (after a relayout too) shows through.
#include <QColor>
#include <QWidget>

namespace dvr::ui {

class TransparentLabel final : public QWidget {
 public:
  explicit TransparentLabel(QWidget* parent = nullptr);
  void SetText(const QString& text);  // repaints when the text changes
  QString Text() const { return text_; }
  void SetTextColour(QColor colour);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  QColor colour_;
};

}  // namespace dvr::ui

#pragma once
// "Go to time...": a recorded time to show, typed or stepped, between the first and the last
// time the source recorded.
#include <QDateTimeEdit>
#include <QDialog>

#include <cstdint>

namespace dvr::app {

class GoToTimeDialog final : public QDialog {
  Q_OBJECT

 public:
  // Time fields: the source's first and last recorded times, and the time to start from.
  GoToTimeDialog(uint32_t first, uint32_t last, uint32_t now, QWidget* parent = nullptr);
  // The time field of what is entered (always within first..last).
  uint32_t Time() const;

 private:
  QDateTimeEdit* edit_;
};

}  // namespace dvr::app

#include "app/dialogs/go_to_time_dialog.h"

#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

#include "app/dialogs/dialog_parts.h"
#include "media/ndf_time.h"
#include "platform/local_time.h"

namespace dvr::app {
namespace {

// Recorded times are local standard time, with no daylight saving: they are shown and edited as
// plain calendar fields, which a UTC date-time holds without any shift.
QDateTime ToDateTime(uint32_t field) {
  const media::FrameTime time = media::ConvertTime(field, platform::StandardBiasSeconds());
  return QDateTime(QDate(time.year, time.month, time.day), QTime(time.hour, time.minute, time.second),
                   Qt::UTC);
}

uint32_t ToField(const QDateTime& when) {
  media::FrameTime time;
  time.year = static_cast<uint16_t>(when.date().year());
  time.month = static_cast<uint16_t>(when.date().month());
  time.day = static_cast<uint16_t>(when.date().day());
  time.hour = static_cast<uint16_t>(when.time().hour());
  time.minute = static_cast<uint16_t>(when.time().minute());
  time.second = static_cast<uint16_t>(when.time().second());
  return media::ToTimeField(time, platform::StandardBiasSeconds()).value_or(0);
}

}  // namespace

GoToTimeDialog::GoToTimeDialog(uint32_t first, uint32_t last, uint32_t now, QWidget* parent)
    : QDialog(parent), edit_(new QDateTimeEdit(this)) {
  setWindowTitle(tr("Go to time"));
  setFont(DialogFont());
  edit_->setTimeSpec(Qt::UTC);
  edit_->setDisplayFormat("yyyy-MM-dd HH:mm:ss");
  edit_->setDateTimeRange(ToDateTime(first), ToDateTime(std::max(first, last)));
  edit_->setDateTime(ToDateTime(std::clamp(now, first, std::max(first, last))));
  edit_->setCurrentSection(QDateTimeEdit::HourSection);
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(tr("Recorded from %1 to %2.\nShow the first picture at or after:")
                               .arg(ToDateTime(first).toString("yyyy-MM-dd HH:mm:ss"),
                                    ToDateTime(last).toString("yyyy-MM-dd HH:mm:ss")),
                           this);
  label->setBuddy(edit_);
  layout->addWidget(label);
  layout->addWidget(edit_);
  layout->addWidget(OkCancelButtons(this));
  edit_->setFocus();
}

uint32_t GoToTimeDialog::Time() const { return ToField(edit_->dateTime()); }

}  // namespace dvr::app

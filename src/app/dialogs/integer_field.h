#pragma once
// Whole numbers typed into a dialog's edits (ports, the time-out), read when OK is pressed.
#include <QLineEdit>
#include <QString>

#include <cstdint>
#include <optional>

namespace dvr::app {

// The number in `edit` when it holds a whole number from `min` to `max` (blanks around it are
// fine). Otherwise a message box that names the field (`field`, its label text) and the range,
// the focus back in the edit with its text selected, and no value.
std::optional<int64_t> ReadWholeNumber(QLineEdit* edit, const QString& field, int64_t min,
                                       int64_t max);

}  // namespace dvr::app

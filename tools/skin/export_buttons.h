#pragma once
// The title bar's export button: "start exporting to AVI" and, while an export runs, "stop it".
#include <QImage>
#include <QSize>

namespace dvr::skin {

inline constexpr QSize kExportFrame{44, 22};

// A red record dot and "AVI".
QImage DrawExportStrip(int scale);
// A stop square and "AVI" on a red face: the export is running.
QImage DrawStopExportStrip(int scale);

}  // namespace dvr::skin

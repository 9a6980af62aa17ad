#pragma once
// Choosing the DVR disk to play: one line per drive the caller found, the first one chosen until
// the user picks another. With no drive listed the list says why, and OK cannot be pressed.
#include <QDialog>
#include <QListWidget>

#include <string>
#include <vector>

#include "media/drive_list.h"

namespace dvr::app {

class DiskDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit DiskDialog(std::vector<media::DriveEntry> drives, QWidget* parent = nullptr);

  // The device path of the chosen drive; empty when none is listed.
  std::string SelectedPath() const { return selection_.SelectedPath(); }

 private:
  media::DiskSelection selection_;
  QListWidget* list_;
};

}  // namespace dvr::app

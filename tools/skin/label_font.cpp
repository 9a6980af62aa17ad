#include "label_font.h"

#include <QFontInfo>

namespace dvr::skin {

QFont LabelFont(int pixel_size, Edges edges) {
  QFont font(kLabelFamily);
  font.setPixelSize(pixel_size);
  font.setBold(true);
  if (edges == Edges::kPixelExact) {
    // Without antialiasing the face needs the full hinting to keep even stems and spacing.
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
  }
  return font;
}

bool LabelFontInstalled() {
  return QFontInfo(LabelFont(10, Edges::kSmooth)).family() == kLabelFamily;
}

}  // namespace dvr::skin

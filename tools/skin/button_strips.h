#pragma once
// The buttons drawn from a glyph: a strip of four frames (normal, pressed or checked, mouse over,
// disabled) side by side.
#include <QImage>
#include <QSize>

#include <span>

#include "button_face.h"
#include "glyph.h"

namespace dvr::skin {

inline constexpr QSize kButtonFrame{28, 28};
inline constexpr QSize kTitleButtonFrame{20, 20};

struct ButtonArt {
  const char* name;
  QSize frame;
  FaceKind face;
  Glyph (*glyph)();
  Ink ink = Ink::kGlyph;
  // The pressed frame doubles as the checked look; a toggle that shows its state by a different
  // glyph (mute) gives it here.
  Glyph (*checked_glyph)() = nullptr;
};

// Every glyph button of the skin.
std::span<const ButtonArt> GlyphButtons();

// The strip of `art`'s four frames, at `scale`.
QImage DrawButtonStrip(const ButtonArt& art, int scale);

}  // namespace dvr::skin

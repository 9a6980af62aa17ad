#pragma once
// The skin's bitmaps: loaded from the application's resources at the screen's pixel ratio, and
// the two ways a bitmap is made partly transparent (a key colour, or a mask frame).
#include <QColor>
#include <QPixmap>
#include <QString>

namespace dvr::ui {

// Loads ":/skin/NAME.png", or its twice-as-large "NAME@2x.png" when the application's device pixel
// ratio is above 1 (then the pixmap's ratio is 2, so its logical size is that of the 1x one). A
// null pixmap when the resource is missing.
QPixmap LoadSkinPixmap(const QString& name);

// The pixmap with every pixel of the key colour made fully transparent.
QPixmap WithKeyColourTransparent(const QPixmap& pixmap, QColor key);

// The frame drawn through a mask of the same size: black in the mask is opaque, white transparent,
// greys in between.
QPixmap ThroughMask(const QPixmap& frame, const QPixmap& mask);

}  // namespace dvr::ui

#pragma once
// A still image as the viewer keeps it: on the clipboard and in a BMP file.
#include <QImage>

#include <string>

namespace dvr::display {

// Puts the image on the clipboard and writes it as a 24-bit BMP file; false when the file could
// not be written (the clipboard has the image either way).
bool SaveStill(const QImage& image, const std::string& path);

}  // namespace dvr::display

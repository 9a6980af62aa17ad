#include "display/qt/still_bitmap.h"

#include <QClipboard>
#include <QGuiApplication>

#include <vector>

#include "export/still_image.h"

namespace dvr::display {

bool SaveStill(const QImage& image, const std::string& path) {
  if (image.isNull()) return false;
  QGuiApplication::clipboard()->setImage(image);
  // Row by row here: a whole-image conversion would hand the work to Qt's thread pool.
  const QImage rgb =
      image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
  const size_t width = static_cast<size_t>(rgb.width());
  std::vector<uint8_t> bgr(width * 3 * static_cast<size_t>(rgb.height()));
  uint8_t* out = bgr.data();
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (size_t x = 0; x < width; ++x) {
      *out++ = static_cast<uint8_t>(qBlue(row[x]));
      *out++ = static_cast<uint8_t>(qGreen(row[x]));
      *out++ = static_cast<uint8_t>(qRed(row[x]));
    }
  }
  return exporting::WriteBmpFile(
      path, exporting::DibFromTopDownBgr(bgr.data(), rgb.width(), rgb.height()));
}

}  // namespace dvr::display

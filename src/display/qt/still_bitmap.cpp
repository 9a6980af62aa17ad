#include "display/qt/still_bitmap.h"

#include <QClipboard>
#include <QGuiApplication>

#include <cstring>
#include <vector>

#include "export/still_image.h"

namespace dvr::display {

bool SaveStill(const QImage& image, const std::string& path) {
  if (image.isNull()) return false;
  QGuiApplication::clipboard()->setImage(image);
  const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
  const size_t row = static_cast<size_t>(bgr.width()) * 3;
  std::vector<uint8_t> packed(row * static_cast<size_t>(bgr.height()));
  for (int y = 0; y < bgr.height(); ++y)
    std::memcpy(packed.data() + row * static_cast<size_t>(y), bgr.constScanLine(y), row);
  return exporting::WriteBmpFile(
      path, exporting::DibFromTopDownBgr(packed.data(), bgr.width(), bgr.height()));
}

}  // namespace dvr::display

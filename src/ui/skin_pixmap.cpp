#include "ui/skin_pixmap.h"

#include <QGuiApplication>
#include <QImage>

#include <mutex>

// Resources of a static library are registered by hand; the macro must stand outside any
// namespace.
static void RegisterSkinResources() {
  Q_INIT_RESOURCE(skin);
}

namespace dvr::ui {
namespace {

QPixmap WithRatio(const QImage& image, qreal ratio) {
  QPixmap pixmap = QPixmap::fromImage(image);
  pixmap.setDevicePixelRatio(ratio);
  return pixmap;
}

}  // namespace

QPixmap LoadSkinPixmap(const QString& name) {
  static std::once_flag registered;
  std::call_once(registered, RegisterSkinResources);
  if (qGuiApp != nullptr && qGuiApp->devicePixelRatio() > 1) {
    QPixmap doubled(QStringLiteral(":/skin/%1@2x.png").arg(name));
    if (!doubled.isNull()) {
      doubled.setDevicePixelRatio(2);
      return doubled;
    }
  }
  return QPixmap(QStringLiteral(":/skin/%1.png").arg(name));
}

QPixmap WithKeyColourTransparent(const QPixmap& pixmap, QColor key) {
  if (pixmap.isNull()) return pixmap;
  QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  const QRgb key_rgb = key.rgb() & RGB_MASK;
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((line[x] & RGB_MASK) == key_rgb) line[x] = qRgba(0, 0, 0, 0);
    }
  }
  return WithRatio(image, pixmap.devicePixelRatio());
}

QPixmap ThroughMask(const QPixmap& frame, const QPixmap& mask) {
  if (frame.isNull() || mask.size() != frame.size()) return frame;
  QImage image = frame.toImage().convertToFormat(QImage::Format_ARGB32);
  const QImage grey = mask.toImage().convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const auto* mask_line = reinterpret_cast<const QRgb*>(grey.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int alpha = qAlpha(line[x]) * (255 - qGray(mask_line[x])) / 255;
      line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]), alpha);
    }
  }
  return WithRatio(image, frame.devicePixelRatio());
}

}  // namespace dvr::ui

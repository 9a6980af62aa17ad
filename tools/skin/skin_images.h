#pragma once
// Every bitmap of the skin: its name (the resource is ":/skin/NAME.png", its double-resolution
// twin "NAME@2x.png"), its size in logical pixels and how to draw it at a scale.
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

namespace dvr::skin {

inline constexpr int kScales[] = {1, 2};

struct SkinImage {
  QString name;
  QSize size;
  std::function<QImage(int scale)> draw;
};

std::vector<SkinImage> SkinImages();

// "NAME.png" at scale 1, "NAME@2x.png" at scale 2.
QString FileName(const QString& name, int scale);

}  // namespace dvr::skin

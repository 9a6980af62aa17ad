#include "skin_images.h"

#include "app_icon.h"
#include "border.h"
#include "button_strips.h"
#include "export_buttons.h"
#include "sliders.h"
#include "status_sprite.h"

namespace dvr::skin {

std::vector<SkinImage> SkinImages() {
  std::vector<SkinImage> images;
  images.push_back({"border", kBorderSize, DrawBorder});
  for (const ButtonArt& art : GlyphButtons()) {
    images.push_back({art.name, StripSize(art.frame),
                      [&art](int scale) { return DrawButtonStrip(art, scale); }});
  }
  images.push_back({"export", StripSize(kExportFrame), DrawExportStrip});
  images.push_back({"stop-export", StripSize(kExportFrame), DrawStopExportStrip});
  for (bool active : {false, true}) {
    const QString suffix = active ? "-active" : "";
    images.push_back({"position-channel" + suffix, kChannelSize,
                      [active](int scale) { return DrawPositionChannel(active, scale); }});
    images.push_back({"position-thumb" + suffix, kPositionThumbSize,
                      [active](int scale) { return DrawPositionThumb(active, scale); }});
    images.push_back({"volume-channel" + suffix, kChannelSize,
                      [active](int scale) { return DrawVolumeChannel(active, scale); }});
    images.push_back({"volume-thumb" + suffix, kVolumeThumbSize,
                      [active](int scale) { return DrawVolumeThumb(active, scale); }});
  }
  images.push_back({"status", kStatusSpriteSize, DrawStatusSprite});
  for (int size : AppIconSizes()) {
    images.push_back({QString("icon-%1").arg(size), {size, size}, [size](int scale) {
                        return DrawAppIcon(size, scale);
                      }});
  }
  return images;
}

QString FileName(const QString& name, int scale) {
  return scale == 1 ? name + ".png" : QString("%1@%2x.png").arg(name).arg(scale);
}

}  // namespace dvr::skin

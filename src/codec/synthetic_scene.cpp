#include "codec/synthetic_scene.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace dvr::codec {
namespace {

// 5 x 7 digits and a colon, one row per byte, bit 4 the leftmost column.
constexpr uint8_t kGlyphs[11][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
    {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}};

uint64_t Mix(uint64_t x) {
  x ^= x >> 33;
  x *= 0xFF51AFD7ED558CCDull;
  x ^= x >> 33;
  x *= 0xC4CEB9FE1A85EC53ull;
  return x ^ (x >> 33);
}

uint8_t ClampByte(int v) { return static_cast<uint8_t>(std::clamp(v, 16, 235)); }

void FillRect(uint8_t* plane, int stride, int rows, int x0, int y0, int w, int h, uint8_t value) {
  for (int y = std::max(0, y0); y < std::min(rows, y0 + h); ++y) {
    for (int x = std::max(0, x0); x < std::min(stride, x0 + w); ++x) plane[y * stride + x] = value;
  }
}

// Text of digits and colons, `scale` pixels per glyph dot, light on a dark box.
void DrawText(uint8_t* luma, int stride, int rows, int x0, int y0, const std::string& text, int scale) {
  FillRect(luma, stride, rows, x0 - scale, y0 - scale, static_cast<int>(text.size()) * 6 * scale + scale,
           9 * scale, 24);
  for (size_t n = 0; n < text.size(); ++n) {
    const char c = text[n];
    const int glyph = c == ':' ? 10 : (c >= '0' && c <= '9') ? c - '0' : -1;
    if (glyph < 0) continue;
    for (int gy = 0; gy < 7; ++gy) {
      for (int gx = 0; gx < 5; ++gx) {
        if (kGlyphs[glyph][gy] & (0x10 >> gx)) {
          FillRect(luma, stride, rows, x0 + (static_cast<int>(n) * 6 + gx) * scale, y0 + gy * scale, scale,
                   scale, 230);
        }
      }
    }
  }
}

}  // namespace

SyntheticScene::SyntheticScene(int channel, uint32_t width, uint32_t height, uint64_t seed)
    : channel_(channel), width_(width), height_(height), background_(size_t{width} * height) {
  const uint64_t base = Mix(seed * 131 + static_cast<uint64_t>(channel) + 1);
  tint_cb_ = static_cast<uint8_t>(128 + static_cast<int>(base % 41) - 20);
  tint_cr_ = static_cast<uint8_t>(128 + static_cast<int>((base >> 8) % 41) - 20);
  const int w = static_cast<int>(width), h = static_cast<int>(height);
  const double slope = 0.08 + static_cast<double>((base >> 16) % 100) / 1000.0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      double v = 50 + slope * x + 0.25 * y;  // gradient
      if (x > w / 2 && y > h / 3) {          // foliage on the right: fine texture
        v += 18 * std::sin(x * 0.31 + 2 * std::sin(y * 0.13)) * std::cos(y * 0.27);
      }
      if (y > h / 2 && x < w / 3) {  // a brick wall in the lower left
        const bool mortar = y % 12 == 0 || (x + (y / 12 % 2) * 12) % 24 == 0;
        v = mortar ? 150 : 95 + 8 * std::sin(x * 0.7) * std::cos(y * 0.9);
      }
      const uint64_t noise = Mix(base ^ (static_cast<uint64_t>(y) << 20) ^ static_cast<uint64_t>(x));
      v += static_cast<int>(noise % 9) - 4;  // fixed sensor noise
      background_[static_cast<size_t>(y * w + x)] = ClampByte(static_cast<int>(v));
    }
  }
}

void SyntheticScene::Render(double seconds, const std::string& clock, uint8_t* picture) const {
  const int w = static_cast<int>(width_), h = static_cast<int>(height_);
  uint8_t* luma = picture;
  uint8_t* cb = picture + width_ * height_;
  uint8_t* cr = cb + width_ * height_ / 4;
  std::memcpy(luma, background_.data(), background_.size());
  std::memset(cb, tint_cb_, width_ * height_ / 4);
  std::memset(cr, tint_cr_, width_ * height_ / 4);

  // Moving objects: a car crossing, a person walking back and forth, a swinging lamp's light.
  const int car_x = static_cast<int>(std::fmod(seconds * (60 + 10 * channel_), w + 120)) - 120;
  FillRect(luma, w, h, car_x, h - 70, 110, 36, static_cast<uint8_t>(70 + 12 * (channel_ % 8)));
  FillRect(cr, w / 2, h / 2, car_x / 2, (h - 70) / 2, 55, 18, 190);
  const int person_x = w / 2 + static_cast<int>((w / 3) * std::sin(seconds * 0.8 + channel_));
  FillRect(luma, w, h, person_x, h / 3, 16, 60, 200);
  FillRect(cb, w / 2, h / 2, person_x / 2, h / 6, 8, 30, 90);
  const int glow = static_cast<int>(20 * std::sin(seconds * 2.0));
  for (int y = 0; y < h / 4; ++y) {
    for (int x = w - 140; x < w - 20; ++x) luma[y * w + x] = ClampByte(luma[y * w + x] + glow);
  }

  DrawText(luma, w, h, 24, 20, std::to_string(channel_ + 1), 8);  // the camera number, large
  DrawText(luma, w, h, w - 180, h - 28, clock, 3);
}

}  // namespace dvr::codec

#include "live_source.h"

#include <cmath>
#include <cstring>

#include "audio/audio_format.h"
#include "audio/synthetic_tone.h"
#include "codec/frame_decoder.h"
#include "media/ndf_format.h"

namespace dvr::sim {
namespace {

int GridFor(int cameras) {
  if (cameras >= 10) return 4;
  if (cameras >= 5) return 3;
  if (cameras >= 2) return 2;
  return 1;
}

std::string ClockText(double seconds) {
  const auto s = static_cast<int>(seconds);
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", s / 3600 % 24, s / 60 % 60, s % 60);
  return text;
}

// Copies every grid-th pixel of one plane into a tile of another.
void ShrinkPlane(const uint8_t* from, uint32_t width, uint32_t height, int grid, uint8_t* to, uint32_t to_width,
                 uint32_t tile_x, uint32_t tile_y) {
  const uint32_t tile_width = width / grid & ~1u, tile_height = height / grid & ~1u;
  for (uint32_t y = 0; y < tile_height; ++y) {
    const uint8_t* row = from + size_t{y} * grid * width;
    uint8_t* out = to + size_t{tile_y + y} * to_width + tile_x;
    for (uint32_t x = 0; x < tile_width; ++x) out[x] = row[size_t{x} * grid];
  }
}

}  // namespace

SyntheticLiveSource::SyntheticLiveSource(int cameras, double fps, bool pal, int quality, int full_every)
    : grid_(GridFor(cameras)),
      fps_(fps > 0 ? fps : 30),
      quality_(quality),
      full_every_(full_every > 0 ? full_every : 1),
      height_(pal ? 272 : 224) {
  const size_t bytes = size_t{width_} * height_ * 3 / 2;
  camera_picture_.resize(bytes);
  picture_.resize(bytes);
  for (int c = 0; c < grid_ * grid_; ++c) {
    scenes_.push_back(std::make_unique<codec::SyntheticScene>(c, width_, height_, 7));
  }
}

void SyntheticLiveSource::Compose(double seconds) {
  const uint32_t luma = width_ * height_;
  if (grid_ == 1) {
    scenes_[0]->Render(seconds, ClockText(seconds), picture_.data());
    return;
  }
  std::memset(picture_.data(), 16, luma);
  std::memset(picture_.data() + luma, 128, luma / 2);
  for (int c = 0; c < grid_ * grid_; ++c) {
    scenes_[static_cast<size_t>(c)]->Render(seconds, ClockText(seconds), camera_picture_.data());
    const uint32_t col = static_cast<uint32_t>(c % grid_), row = static_cast<uint32_t>(c / grid_);
    const uint32_t x = col * (width_ / grid_) & ~1u, y = row * (height_ / grid_) & ~1u;
    ShrinkPlane(camera_picture_.data(), width_, height_, grid_, picture_.data(), width_, x, y);
    for (int plane = 0; plane < 2; ++plane) {
      const size_t at = luma + size_t{luma} / 4 * plane;
      ShrinkPlane(camera_picture_.data() + at, width_ / 2, height_ / 2, grid_, picture_.data() + at, width_ / 2,
                  x / 2, y / 2);
    }
  }
}

bool SyntheticLiveSource::Next(LiveUnit& unit) {
  // Audio first whenever its stream time has come: 50 ms frames beside the pictures.
  const double now = static_cast<double>(pictures_) / fps_;
  const double audio_period = static_cast<double>(audio::kToneFrameSamples) / audio::kSampleRate;
  if (static_cast<double>(audio_frames_) * audio_period <= now) {
    audio::MakeToneFrame(unit.bytes, 0, audio_frames_ * audio::kToneFrameSamples);
    unit.is_video = false;
    ++audio_frames_;
    return true;
  }
  Compose(now);
  codec::EncodeOptions options;
  options.variant = codec::kNetworkVariant;
  options.quality = quality_;
  options.counter = static_cast<uint16_t>(pictures_);
  options.full_frame = pictures_ % static_cast<uint64_t>(full_every_) == 0;
  unit.bytes.clear();
  encoder_.Encode(picture_.data(), width_, height_, options, options.full_frame ? nullptr : reference_.data(),
                  unit.bytes);
  reference_ = picture_;
  unit.is_video = true;
  ++pictures_;
  return true;
}

LoopedLiveSource::LoopedLiveSource(LiveSource& inner, size_t pictures, bool video_only) {
  LiveUnit unit;
  for (size_t seen = 0; seen < pictures && inner.Next(unit);) {
    if (unit.is_video) ++seen;
    if (unit.is_video || !video_only) units_.push_back(unit);
  }
}

bool LoopedLiveSource::Next(LiveUnit& unit) {
  if (units_.empty()) return false;
  const LiveUnit& next = units_[next_];
  next_ = (next_ + 1) % units_.size();
  unit.bytes.assign(next.bytes.begin(), next.bytes.end());
  unit.is_video = next.is_video;
  if (unit.is_video && unit.bytes.size() >= 7) {
    unit.bytes[5] = static_cast<uint8_t>(counter_ >> 8);
    unit.bytes[6] = static_cast<uint8_t>(counter_);
    ++counter_;
  }
  return true;
}

RecordingLiveSource::RecordingLiveSource(platform::Notices& notices)
    : reader_(notices), frame_(media::kFrameCapacity) {}

bool RecordingLiveSource::Open(const std::string& path, int variant) {
  reader_.SetVariant(variant);
  if (!reader_.Open(path, false)) return false;
  // A recording with no video frame would loop without end and send nothing.
  LiveUnit unit;
  while (NextFromReader(unit)) {
    if (unit.is_video) {
      reader_.SetPosition(0);
      counter_ = 0;
      return true;
    }
  }
  return false;
}

bool RecordingLiveSource::NextFromReader(LiveUnit& unit) {
  for (;;) {
    const uint32_t length = reader_.NextFrame(frame_);
    if (length == 0) {
      if (reader_.LastBlockBad()) continue;  // a damaged block: the reader stepped over it
      return false;
    }
    if (reader_.IsAudio()) {
      if (reader_.Channel() != 0) continue;
      // The reader hands over the samples only; the network frame has the start code and two
      // header bytes in front.
      unit.bytes.assign({0x00, 0x00, 0x01, media::kAudioStartFirst, 0x00, 0x00});
      unit.bytes.insert(unit.bytes.end(), frame_.begin(), frame_.begin() + length);
      unit.is_video = false;
      return true;
    }
    if (ToNetworkFrame(frame_.data(), length, reader_.Variant(), counter_, unit.bytes)) {
      ++counter_;
      unit.is_video = true;
      return true;
    }
  }
}

bool RecordingLiveSource::Next(LiveUnit& unit) {
  if (NextFromReader(unit)) return true;
  reader_.SetPosition(0);  // the end: round again
  return NextFromReader(unit);
}

bool ToNetworkFrame(const uint8_t* frame, size_t length, int variant, uint16_t counter, std::vector<uint8_t>& out) {
  const int layout = codec::HeaderLayout(variant);
  const size_t header = layout == 3 ? 7 : layout == 4 ? 6 : 5;
  if (length < header) return false;
  uint8_t flags = frame[4];
  if (layout == 1) {
    flags &= 0xF8;  // the full flag and the quality stay; the channel goes
  } else if (layout != 3) {
    const bool full = frame[3] == media::kVideoStartFlagged;
    flags = static_cast<uint8_t>((full ? 0x80 : 0) | (frame[4] >> 4) << 3);
  }
  out.assign({0x00, 0x00, 0x01, media::kVideoStart, flags, static_cast<uint8_t>(counter >> 8),
              static_cast<uint8_t>(counter)});
  out.insert(out.end(), frame + header, frame + length);
  return true;
}

}  // namespace dvr::sim

#include "codec/frame_decoder.h"

#include "codec/scan_tables.h"
#include "media/ndf_format.h"
#include "media/prefix_search.h"

namespace dvr::codec {
namespace {

constexpr uint32_t kSliceScanStart = 5;
constexpr int kInvalidQuality = 15;

struct PictureSize {
  uint32_t width, height;
};

// Picture size by slice count; 18 and more leave it unchanged.
PictureSize SizeForSlices(uint32_t count) {
  if (count <= 7) return {320, 112};
  if (count <= 9) return {320, 128};
  if (count <= 14) return {640, 224};
  return {640, 272};
}

}  // namespace

int HeaderLayout(int variant) {
  switch (variant) {
    case 0: return 1;
    case 2: return 3;
    case 5: return 4;
    default: return 2;
  }
}

uint16_t HeaderChannels(int variant, uint8_t byte4, uint8_t byte5) {
  const auto bit = [](int channel) { return static_cast<uint16_t>(1u << channel); };
  switch (HeaderLayout(variant)) {
    case 1: return bit((byte4 & 7) <= 3 ? byte4 & 7 : 0);
    case 2: return bit(byte4 & 15);
    case 3: return bit(0);
    default:
      if (!(byte5 >> 7)) return bit(byte4 & 15);
      return static_cast<uint16_t>(((byte5 >> 2) & 1 ? 0 : bit(byte4 & 15)) |
                                   ((byte5 >> 1) & 1 ? 0 : bit((byte5 >> 3) & 15)));
  }
}

FrameDecoder::FrameDecoder() : block_decoder_(SelectBlockDecoder()) {}

int FrameDecoder::Init(int variant) {
  variant_ = variant;
  quality_ = 0;
  picture_width_ = 0;
  picture_height_ = 0;
  header_word_ = 0;
  parsed_ = false;
  block_decoder_ = SelectBlockDecoder();
  return 1;
}

void FrameDecoder::ReadHeaderFields(const uint8_t* frame, uint32_t length) {
  const uint8_t byte4 = frame[4];
  const bool flagged_start = frame[3] == media::kVideoStartFlagged;
  switch (HeaderLayout(variant_)) {
    case 1:
      channel_ = (byte4 & 7) <= 3 ? byte4 & 7 : 0;
      quality_ = (byte4 >> 3) & 15;
      full_frame_ = byte4 >> 7;
      dual_ = false;
      break;
    case 2:
      channel_ = byte4 & 15;
      quality_ = byte4 >> 4;
      full_frame_ = flagged_start;
      dual_ = false;
      break;
    case 3:
      channel_ = 0;
      quality_ = (byte4 >> 3) & 15;
      full_frame_ = byte4 >> 7;
      // A frame cut short after byte 5 lacks the counter's low byte.
      header_word_ = static_cast<uint16_t>(frame[5] << 8 | (length > 6 ? frame[6] : 0));
      dual_ = false;
      break;
    default: {
      const uint8_t byte5 = frame[5];
      channel_ = byte4 & 15;
      channel_a_ = channel_;
      quality_ = byte4 >> 4;
      full_frame_ = flagged_start;
      dual_ = byte5 >> 7;
      channel_b_ = (byte5 >> 3) & 15;
      a_absent_ = (byte5 >> 2) & 1;
      b_absent_ = (byte5 >> 1) & 1;
      break;
    }
  }
}

uint32_t FrameDecoder::ScanSlices(const uint8_t* frame, uint32_t length) {
  // Byte by byte this is a 32-bit window shifted from offset 5 on: a slice begins wherever the
  // window's top three bytes read 00 00 01, and a frame start code in it ends the scan. Bytes
  // before offset 5 never count, so the search for 00 00 01 starts there.
  static const media::PrefixSearch find_prefix = media::SelectedPrefixSearch();
  uint32_t count = 0;
  uint32_t stop = length;
  for (uint32_t from = kSliceScanStart; from + 3 < length;) {
    const uint32_t prefix = from + static_cast<uint32_t>(find_prefix(frame + from, length - 1 - from));
    if (prefix + 3 >= length) break;
    if (media::KindOfStartCode(frame[prefix + 3]) != media::FrameKind::kNone) {
      stop = prefix + 3;
      break;
    }
    if (count < kMaxSlices) slice_offsets_[count] = prefix;
    ++count;
    from = prefix + 1;
  }
  slice_count_ = count;
  return stop;
}

int FrameDecoder::ParseHeader(const uint8_t* frame, uint32_t length) {
  parsed_ = false;
  if (frame == nullptr || length <= 5) return 0;
  if (frame[0] != 0 || frame[1] != 0 || frame[2] != 1 ||
      (frame[3] != media::kVideoStart && frame[3] != media::kVideoStartFlagged)) {
    return 0;
  }
  ReadHeaderFields(frame, length);
  if (quality_ == kInvalidQuality) return 0;
  const uint32_t stop = ScanSlices(frame, length);
  if (slice_count_ < 18) {
    const PictureSize size = SizeForSlices(slice_count_);
    picture_width_ = size.width;
    picture_height_ = size.height;
  }
  if (slice_count_ != 14 && slice_count_ != 17) return 0;
  parsed_ = true;
  parsed_length_ = length;
  return static_cast<int>(stop);
}

int FrameDecoder::DecodeFrame(const uint8_t* frame, uint32_t length, uint8_t* picture) {
  if (picture == nullptr || frame == nullptr || length < 5 || quality_ == 0 ||
      picture_width_ == 0 || picture_height_ == 0) {
    return 0;
  }
  // The slice table describes the frame ParseHeader accepted last, and no other.
  if (!parsed_ || length != parsed_length_) return 0;
  if (quality_ != dequant_quality_) {
    for (size_t i = 0; i < 64; ++i) dequant_[i] = uint32_t{kIntraQuantiser[i]} * static_cast<uint32_t>(quality_);
    dequant_quality_ = quality_;
    ++dequant_builds_;
  }
  const SliceJob job{frame,          length,         slice_offsets_.data(), slice_count_,
                     full_frame_,    picture_width_, picture_height_,       dequant_.data(),
                     picture};
  return block_decoder_(job) ? 1 : 0;
}

}  // namespace dvr::codec

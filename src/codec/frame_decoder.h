#pragma once
// Turns one video frame (start code included) into a planar YUV 4:2:0 picture: ParseHeader reads
// the header of the variant's layout and finds the slices, DecodeFrame decodes them.
//
// All decoding state lives in the object, so that two decoders can run on two threads. One
// object is used by one thread at a time: ParseHeader and the DecodeFrame after it form one step.
#include <array>
#include <cstdint>

#include "codec/block_decoder.h"

namespace dvr::codec {

inline constexpr int kMaxSlices = 20;
inline constexpr uint32_t kMaxPictureWidth = 640;
inline constexpr uint32_t kMaxPictureHeight = 272;
inline constexpr uint32_t kMaxPictureBytes = kMaxPictureWidth * kMaxPictureHeight * 3 / 2;
// The live stream is always decoded with this variant.
inline constexpr int kNetworkVariant = 2;

// Header layout of a variant code 0..6.
int HeaderLayout(int variant);

// The channels a video frame's header names (bit c: channel c), read as the decoder reads them
// under `variant`'s header layout: bytes 4 and 5 after the start code (byte 5 only counts for a
// two-channel frame, whose halves marked absent are left out).
uint16_t HeaderChannels(int variant, uint8_t byte4, uint8_t byte5);

class FrameDecoder {
 public:
  FrameDecoder();

  // Returns 1. Sets the variant, forgets the quality and picture size, selects the block decoder.
  int Init(int variant);

  // 0 when the frame is not a decodable video frame; otherwise the offset at which the slice scan
  // stopped (the length when no following frame start code was found, else the offset of that
  // start code's last byte).
  int ParseHeader(const uint8_t* frame, uint32_t length);

  // 1 when every slice was decoded into `picture` (PictureWidth() x PictureHeight() x 3/2 bytes),
  // 0 at the first error. Needs a successful ParseHeader of the same frame just before. Samples
  // of blocks the frame does not code keep what the picture held.
  int DecodeFrame(const uint8_t* frame, uint32_t length, uint8_t* picture);

  int Channel() const { return channel_; }
  uint32_t PictureWidth() const { return picture_width_; }
  uint32_t PictureHeight() const { return picture_height_; }

  int variant() const { return variant_; }
  int quality() const { return quality_; }
  bool full_frame() const { return full_frame_; }
  uint16_t header_word() const { return header_word_; }
  // Layout 4: a picture of two channels side by side.
  bool dual() const { return dual_; }
  int channel_a() const { return channel_a_; }
  int channel_b() const { return channel_b_; }
  bool a_absent() const { return a_absent_; }
  bool b_absent() const { return b_absent_; }
  uint32_t slice_count() const { return slice_count_; }
  const std::array<uint32_t, kMaxSlices>& slice_offsets() const { return slice_offsets_; }

  // Replaces the block decoder (tests and benchmarks compare the implementations).
  void UseBlockDecoder(BlockDecoder decoder) { block_decoder_ = decoder; }
  // How often the dequantisation table has been built.
  int dequant_builds() const { return dequant_builds_; }

 private:
  void ReadHeaderFields(const uint8_t* frame, uint32_t length);
  uint32_t ScanSlices(const uint8_t* frame, uint32_t length);

  int variant_ = 0;
  int channel_ = 0;
  uint16_t header_word_ = 0;
  int channel_a_ = 0, channel_b_ = 0;
  bool dual_ = false, a_absent_ = false, b_absent_ = false;

  int quality_ = 0;
  bool full_frame_ = false;
  std::array<uint32_t, kMaxSlices> slice_offsets_{};
  uint32_t slice_count_ = 0;
  uint32_t picture_width_ = 0, picture_height_ = 0;
  bool parsed_ = false;  // the last ParseHeader accepted its frame
  uint32_t parsed_length_ = 0;

  std::array<uint32_t, 64> dequant_{};
  int dequant_quality_ = 0;
  int dequant_builds_ = 0;
  BlockDecoder block_decoder_;
};

}  // namespace dvr::codec

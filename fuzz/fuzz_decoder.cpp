// The frame decoder on arbitrary frames: header parsing in every layout, then decoding with every
// block decoder into a picture with guard bytes. Half the inputs are real encoded frames with
// bytes changed, so that decoding gets deep. Nothing may crash or touch memory outside the frame
// and the picture.
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "codec/channel_pictures.h"
#include "codec/frame_decoder.h"
#include "codec/frame_encoder.h"
#include "codec/synthetic_scene.h"

namespace {

const std::vector<uint8_t>& RealFrame(bool partial) {
  static const std::array<std::vector<uint8_t>, 2> frames = [] {
    std::array<std::vector<uint8_t>, 2> out;
    const dvr::codec::SyntheticScene scene(1, 640, 224, 1);
    std::vector<uint8_t> a(640 * 224 * 3 / 2), b(a.size());
    scene.Render(0, "00:00:00", a.data());
    scene.Render(0.5, "00:00:01", b.data());
    dvr::codec::FrameEncoder encoder;
    dvr::codec::EncodeOptions options;
    options.quality = 3;
    encoder.Encode(a.data(), 640, 224, options, nullptr, out[0]);
    options.full_frame = false;
    encoder.Encode(b.data(), 640, 224, options, a.data(), out[1]);
    return out;
  }();
  return frames[partial ? 1 : 0];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int variant = data[0] % 7;
  const bool mutate_real = data[0] & 0x80;
  std::vector<uint8_t> frame;
  if (mutate_real) {
    // Change bytes of a real frame at places and to values the input chooses; maybe cut it.
    frame = RealFrame(data[0] & 0x40);
    for (size_t i = 2; i + 2 < size; i += 3) {
      const size_t at = (size_t{data[i]} << 8 | data[i + 1]) * 7 % frame.size();
      frame[at] = data[i + 2];
    }
    if (data[1] & 1) frame.resize(frame.size() * data[1] / 256 + 1);
  } else {
    frame.assign(data + 1, data + size);
  }
  dvr::codec::FrameDecoder decoder;
  decoder.Init(variant);
  std::vector<uint8_t> picture(dvr::codec::kMaxPictureBytes + 64, 0x5A);
  for (auto implementation : {dvr::codec::DecodeSlicesScalar, dvr::codec::DecodeSlicesPacked,
                              dvr::codec::DecodeSlicesSse2}) {
    decoder.UseBlockDecoder(implementation);
    if (decoder.ParseHeader(frame.data(), static_cast<uint32_t>(frame.size())) == 0) return 0;
    decoder.DecodeFrame(frame.data(), static_cast<uint32_t>(frame.size()), picture.data());
    for (size_t i = dvr::codec::kMaxPictureBytes; i < picture.size(); ++i) {
      if (picture[i] != 0x5A) __builtin_trap();  // wrote past the picture
    }
  }
  static dvr::codec::ChannelPictures pictures;  // large: made once
  decoder.ParseHeader(frame.data(), static_cast<uint32_t>(frame.size()));
  pictures.Decode(decoder, frame.data(), static_cast<uint32_t>(frame.size()));
  return 0;
}

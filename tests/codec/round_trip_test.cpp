// The encoder and the decoder together, on the synthetic scenes.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "codec/frame_decoder.h"
#include "codec/frame_encoder.h"
#include "codec/synthetic_scene.h"

namespace dvr::codec {
namespace {

double LumaPsnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, size_t samples) {
  double sum = 0;
  for (size_t i = 0; i < samples; ++i) sum += (a[i] - b[i]) * (a[i] - b[i]);
  return 10 * std::log10(255.0 * 255.0 / (sum / static_cast<double>(samples)));
}

struct Case {
  uint32_t height;
  int quality;
  double min_psnr;
};

class RoundTrip : public ::testing::TestWithParam<Case> {};

TEST_P(RoundTrip, EveryBlockDecoderRecoversTheScene) {
  const Case c = GetParam();
  const SyntheticScene scene(2, 640, c.height, 9);
  std::vector<uint8_t> source(640 * c.height * 3 / 2);
  scene.Render(3.25, "01:02:03", source.data());
  std::vector<uint8_t> frame;
  FrameEncoder encoder;
  EncodeOptions options;
  options.quality = c.quality;
  options.channel = 2;
  encoder.Encode(source.data(), 640, c.height, options, nullptr, frame);

  FrameDecoder decoder;
  decoder.Init(4);
  std::vector<uint8_t> packed;
  for (BlockDecoder implementation : {DecodeSlicesScalar, DecodeSlicesPacked, DecodeSlicesSse2}) {
    decoder.UseBlockDecoder(implementation);
    ASSERT_EQ(decoder.ParseHeader(frame.data(), static_cast<uint32_t>(frame.size())), static_cast<int>(frame.size()));
    EXPECT_EQ(decoder.Channel(), 2);
    EXPECT_EQ(decoder.PictureHeight(), c.height);
    std::vector<uint8_t> picture(source.size());
    ASSERT_EQ(decoder.DecodeFrame(frame.data(), static_cast<uint32_t>(frame.size()), picture.data()), 1);
    EXPECT_GT(LumaPsnr(source, picture, 640 * c.height), c.min_psnr);
    if (implementation == DecodeSlicesPacked) packed = picture;
    if (implementation == DecodeSlicesSse2) {
      EXPECT_EQ(picture, packed);  // the packed forms agree
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Qualities, RoundTrip,
                         ::testing::Values(Case{224, 2, 36}, Case{224, 8, 31}, Case{272, 2, 36},
                                           Case{272, 8, 31}, Case{224, 14, 27}));

TEST(Encoder, NeverWritesAStartCodeInsideAFrame) {
  const SyntheticScene scene(0, 640, 224, 1);
  std::vector<uint8_t> picture(640 * 224 * 3 / 2);
  FrameEncoder encoder;
  encoder.ForceEscapeFrom(2);  // both escape forms, often
  for (int quality : {1, 14}) {
    // A black picture has DC 0 everywhere: the encoder keeps it at 1.
    for (bool black : {false, true}) {
      scene.Render(1, "00:00:00", picture.data());
      if (black) std::fill(picture.begin(), picture.begin() + 640 * 224, 0);
      std::vector<uint8_t> frame;
      EncodeOptions options;
      options.quality = quality;
      encoder.Encode(picture.data(), 640, 224, options, nullptr, frame);
      int prefixes = 0;
      for (size_t i = 0; i + 2 < frame.size(); ++i) prefixes += frame[i] == 0 && frame[i + 1] == 0 && frame[i + 2] == 1;
      EXPECT_EQ(prefixes, 1 + 14) << "quality " << quality;  // the frame's own and the slices'
      FrameDecoder decoder;
      decoder.Init(4);
      ASSERT_NE(decoder.ParseHeader(frame.data(), static_cast<uint32_t>(frame.size())), 0);
      std::vector<uint8_t> out(picture.size());
      EXPECT_EQ(decoder.DecodeFrame(frame.data(), static_cast<uint32_t>(frame.size()), out.data()), 1);
    }
  }
}

TEST(Encoder, EveryLayoutParsesBack) {
  const SyntheticScene scene(1, 640, 272, 3);
  std::vector<uint8_t> picture(640 * 272 * 3 / 2);
  scene.Render(0, "00:00:00", picture.data());
  for (int variant = 0; variant < 7; ++variant) {
    std::vector<uint8_t> frame;
    EncodeOptions options;
    options.variant = variant;
    options.channel = 3;
    options.quality = 5;
    options.counter = 0x0102;
    options.dual = variant == 5;
    options.channel_b = 7;
    FrameEncoder().Encode(picture.data(), 640, 272, options, nullptr, frame);
    FrameDecoder decoder;
    decoder.Init(variant);
    ASSERT_NE(decoder.ParseHeader(frame.data(), static_cast<uint32_t>(frame.size())), 0) << variant;
    EXPECT_EQ(decoder.quality(), 5);
    EXPECT_TRUE(decoder.full_frame());
    EXPECT_EQ(decoder.Channel(), variant == 2 ? 0 : 3);
    if (variant == 2) {
      EXPECT_EQ(decoder.header_word(), 0x0102);
    }
    if (variant == 5) {
      EXPECT_TRUE(decoder.dual());
      EXPECT_EQ(decoder.channel_b(), 7);
    }
  }
}

TEST(Encoder, PartialFramesCodeOnlyWhatChanged) {
  const SyntheticScene scene(0, 640, 224, 5);
  std::vector<uint8_t> first(640 * 224 * 3 / 2), second(first.size()), decoded(first.size());
  scene.Render(0, "00:00:00", first.data());
  scene.Render(0.2, "00:00:00", second.data());  // objects moved a little
  FrameEncoder encoder;
  std::vector<uint8_t> full, partial;
  encoder.Encode(first.data(), 640, 224, EncodeOptions{}, nullptr, full);
  EncodeOptions options;
  options.full_frame = false;
  encoder.Encode(second.data(), 640, 224, options, first.data(), partial);
  EXPECT_LT(partial.size() * 3, full.size());

  FrameDecoder decoder;
  decoder.Init(4);
  ASSERT_NE(decoder.ParseHeader(full.data(), static_cast<uint32_t>(full.size())), 0);
  ASSERT_EQ(decoder.DecodeFrame(full.data(), static_cast<uint32_t>(full.size()), decoded.data()), 1);
  ASSERT_NE(decoder.ParseHeader(partial.data(), static_cast<uint32_t>(partial.size())), 0);
  EXPECT_FALSE(decoder.full_frame());
  ASSERT_EQ(decoder.DecodeFrame(partial.data(), static_cast<uint32_t>(partial.size()), decoded.data()), 1);
  EXPECT_GT(LumaPsnr(second, decoded, 640 * 224), 34);
}

}  // namespace
}  // namespace dvr::codec

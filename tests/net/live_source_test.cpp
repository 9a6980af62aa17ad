// What the simulated DVR sends: recordings of every layout converted to the network layout, and
// the looped stream of the benchmarks.
#include "live_source.h"

#include <gtest/gtest.h>

#include "codec/frame_decoder.h"
#include "codec/synthetic_scene.h"
#include "support/decoded_picture.h"
#include "support/encoded_recording.h"
#include "support/recorded_notices.h"
#include "support/temp_dir.h"

namespace dvr::sim {
namespace {

using test::DecodedPictureMd5;

TEST(LiveSourceTest, EveryLayoutBecomesTheSamePictureOnTheNetwork) {
  const codec::SyntheticScene scene(2, 640, 224, 3);
  std::vector<uint8_t> picture(640 * 224 * 3 / 2);
  scene.Render(1.5, "10:00:01", picture.data());
  codec::FrameEncoder encoder;
  for (int variant = 0; variant <= 6; ++variant) {
    SCOPED_TRACE(variant);
    for (bool full : {true, false}) {
      codec::EncodeOptions options;
      options.variant = variant;
      options.full_frame = full;
      options.quality = 5;
      std::vector<uint8_t> frame;
      encoder.Encode(picture.data(), 640, 224, options, full ? nullptr : picture.data(), frame);
      std::vector<uint8_t> network;
      ASSERT_TRUE(ToNetworkFrame(frame.data(), frame.size(), variant, 0x1234, network));
      EXPECT_EQ(network[3], 0xF8);
      EXPECT_EQ(network[4] & 0x80, full ? 0x80 : 0);  // the full-picture flag
      EXPECT_EQ(network[5], 0x12);
      EXPECT_EQ(network[6], 0x34);
      if (full) {
        EXPECT_EQ(DecodedPictureMd5(network, codec::kNetworkVariant), DecodedPictureMd5(frame, variant));
      }
    }
  }
  std::vector<uint8_t> out;
  EXPECT_FALSE(ToNetworkFrame(picture.data(), 4, 4, 0, out));  // too short for a header
}

TEST(LiveSourceTest, ARecordingStreamsRoundAndRound) {
  test::TempDir dir;
  test::EncodedRecording recording(4);
  recording.Video(0, 0).Audio(0, 100).Video(0, 0.1).Audio(1, 100).Video(0, 0.2);
  const std::string path = dir.Write("rec.NDF", recording.Build());
  test::RecordedNotices notices;
  RecordingLiveSource source(notices);
  ASSERT_TRUE(source.Open(path, 4));
  LiveUnit unit;
  std::vector<bool> kinds;
  std::vector<uint16_t> counters;
  for (int i = 0; i < 8 && source.Next(unit); ++i) {
    kinds.push_back(unit.is_video);
    if (unit.is_video) {
      counters.push_back(static_cast<uint16_t>(unit.bytes[5] << 8 | unit.bytes[6]));
      EXPECT_FALSE(DecodedPictureMd5(unit.bytes, codec::kNetworkVariant).empty());
    } else {
      EXPECT_EQ(unit.bytes.size(), 6u + 100);  // start code, two header bytes, the samples
      EXPECT_EQ(unit.bytes[3], 0xFA);
    }
  }
  // The second audio channel is not sent; after the third picture the recording starts again.
  EXPECT_EQ(kinds, (std::vector<bool>{true, false, true, true, true, false, true, true}));
  EXPECT_EQ(counters, (std::vector<uint16_t>{0, 1, 2, 3, 4, 5}));

  RecordingLiveSource empty(notices);
  EXPECT_FALSE(empty.Open(dir.Write("audio.NDF", test::EncodedRecording(4).Audio(0, 50).Build()), 4));
  EXPECT_FALSE(empty.Open(dir.File("missing.NDF"), 4));
}

TEST(LiveSourceTest, ALoopRepeatsItsPicturesWithRunningCounters) {
  SyntheticLiveSource camera(1, 30, false, 4, 1);
  LoopedLiveSource loop(camera, 3, true);
  LiveUnit unit;
  std::vector<std::vector<uint8_t>> bodies;
  for (int i = 0; i < 7; ++i) {
    ASSERT_TRUE(loop.Next(unit));
    ASSERT_TRUE(unit.is_video);
    EXPECT_EQ(unit.bytes[6], i);
    bodies.emplace_back(unit.bytes.begin() + 7, unit.bytes.end());
  }
  EXPECT_EQ(bodies[3], bodies[0]);
  EXPECT_EQ(bodies[6], bodies[0]);
  EXPECT_NE(bodies[1], bodies[0]);
}

}  // namespace
}  // namespace dvr::sim

#include "net/stream_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/protocol.h"

namespace dvr::net {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Of(std::initializer_list<int> values) {
  Bytes out;
  for (int v : values) out.push_back(static_cast<uint8_t>(v));
  return out;
}
Bytes Of(const std::string& text) { return {text.begin(), text.end()}; }
Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
Bytes StartCode(int type) { return Of({0x00, 0x00, 0x01, type}); }
Bytes Filler(size_t n, uint8_t seed) {
  Bytes out(n);
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(0x10 + (seed + i * 7) % 0xE0);  // never 00 00 01
  return out;
}

// Everything a parse produced.
struct Outcome : ControlHandler {
  std::vector<Bytes> video, audio;
  std::vector<std::array<uint16_t, 5>> statuses;
  int disconnects = 0;
  void OnStatus(const std::array<uint16_t, 5>& values) override { statuses.push_back(values); }
  void OnDisconnectNotice() override { ++disconnects; }
  bool operator==(const Outcome& o) const {
    return video == o.video && audio == o.audio && statuses == o.statuses && disconnects == o.disconnects;
  }
};

class Receiver {
 public:
  Receiver() {
    video_.Allocate(kVideoBufferBytes, 16);
    audio_.Allocate(kAudioBufferBytes, 16);
  }
  void Feed(const Bytes& bytes) { parser_.Parse(bytes.data(), bytes.size()); }
  Outcome& Drain() {
    media::MediaFrame frame(kVideoBufferBytes);
    while (video_.Take(frame)) outcome_.video.emplace_back(frame.payload.begin(), frame.payload.begin() + frame.length);
    while (audio_.Take(frame)) outcome_.audio.emplace_back(frame.payload.begin(), frame.payload.begin() + frame.length);
    return outcome_;
  }
  const StreamParser& Parser() const { return parser_; }

 private:
  engine::FrameQueue video_{"video"}, audio_{"audio"};
  Outcome outcome_;
  StreamParser parser_{video_, audio_, outcome_};
};

Outcome ParseWhole(const Bytes& stream) {
  Receiver receiver;
  receiver.Feed(stream);
  return receiver.Drain();
}

// The stream cut at every position (and fed byte by byte) gives what it gives whole.
void ExpectCutsChangeNothing(const Bytes& stream) {
  const Outcome whole = ParseWhole(stream);
  for (size_t cut = 0; cut <= stream.size(); ++cut) {
    Receiver receiver;
    receiver.Feed(Bytes(stream.begin(), stream.begin() + static_cast<long>(cut)));
    receiver.Feed(Bytes(stream.begin() + static_cast<long>(cut), stream.end()));
    ASSERT_TRUE(receiver.Drain() == whole) << "cut at " << cut;
  }
  Receiver bytewise;
  for (uint8_t b : stream) bytewise.Feed({b});
  EXPECT_TRUE(bytewise.Drain() == whole);
}

TEST(StreamParserTest, AVideoFrameEndsAtTheNextPictureStartCode) {
  const Bytes body = Filler(40, 1);
  const Bytes stream = Of({0x12, 0x34}) + StartCode(0xF8) + body + StartCode(0xF9);  // leading bytes ignored
  const Outcome out = ParseWhole(stream);
  ASSERT_EQ(out.video.size(), 1u);
  EXPECT_EQ(out.video[0], StartCode(0xF8) + body);
  ExpectCutsChangeNothing(stream);
  // The next frame keeps its own start code; a start code with nothing after it is no picture.
  const Outcome two = ParseWhole(stream + body + StartCode(0xF8) + StartCode(0xF8));
  ASSERT_EQ(two.video.size(), 2u);
  EXPECT_EQ(two.video[1], StartCode(0xF9) + body);
}

TEST(StreamParserTest, AudioDropsItsHeaderBytesAndEndsAtAnyStartCode) {
  const Bytes stream = StartCode(0xFA) + Of({0xA1, 0xA2, 0x51, 0x52, 0x53}) + StartCode(0xF8);
  const Outcome out = ParseWhole(stream);
  ASSERT_EQ(out.audio.size(), 1u);
  EXPECT_EQ(out.audio[0], Of({0x51, 0x52, 0x53}));
  EXPECT_TRUE(out.video.empty());
  ExpectCutsChangeNothing(stream);

  for (int type = 0xF0; type <= 0xFF; ++type) {
    if (type == 0xFE) continue;
    // A code that starts nothing ends the audio frame; the next one drops two bytes again.
    const Outcome o = ParseWhole(StartCode(0xFA) + Of({1, 2, 0x31, 0x32}) + StartCode(type) +
                                 Of({3, 4, 0x41, 0x42}) + StartCode(0xF8));
    ASSERT_GE(o.audio.size(), 1u) << type;
    EXPECT_EQ(o.audio[0], Of({0x31, 0x32})) << type;
    if (type == 0xF8 || type == 0xF9) {
      ASSERT_EQ(o.video.size(), 1u);
      EXPECT_EQ(o.video[0], StartCode(type) + Of({3, 4, 0x41, 0x42}));
    } else {
      ASSERT_EQ(o.audio.size(), 2u) << type;
      EXPECT_EQ(o.audio[1], Of({0x41, 0x42})) << type;
    }
  }
}

TEST(StreamParserTest, EveryAudioFrameDropsItsOwnHeader) {
  const Bytes stream = StartCode(0xFA) + Of({1, 2, 0x31}) + StartCode(0xFA) + Of({3, 4, 0x41, 0x42}) + StartCode(0xF8);
  const Outcome out = ParseWhole(stream);
  ASSERT_EQ(out.audio.size(), 2u);
  EXPECT_EQ(out.audio[0], Of({0x31}));
  EXPECT_EQ(out.audio[1], Of({0x41, 0x42}));
  ExpectCutsChangeNothing(stream);
}

TEST(StreamParserTest, AnAudioStartCodeAfterAnAudioFrameDropsTheNewFramesHeader) {
  const Bytes samples = Of({0x31, 0x32, 0x33});
  const Bytes next = StartCode(0xFA) + Of({3, 4, 0x41, 0x42}) + StartCode(0xF8);
  const Bytes report = Of(ControlPacket(kStatusReport, {1, 2, 3, 4, 5}));
  const Bytes cut_short = StartCode(0xFE) + Of("0020000800");
  const Bytes too_long = Filler(kAudioBufferBytes + 10, 12);
  struct Case {
    const char* name;
    Bytes first;  // an audio frame, up to the next audio start code
    std::vector<Bytes> audio;
  };
  const std::vector<Case> cases = {
      {"samples", StartCode(0xFA) + Of({1, 2}) + samples, {samples}},
      {"only its header", StartCode(0xFA) + Of({1, 2}), {}},
      {"half its header", StartCode(0xFA) + Of({1}), {}},
      {"a packet inside", StartCode(0xFA) + Of({1, 0x31, 0x32}) + report + Of({0x33}), {Of({0x32, 0x33})}},
      {"a packet in its header", StartCode(0xFA) + Of({1}) + report + Of({2}) + samples, {samples}},
      {"a packet cut short", StartCode(0xFA) + Of({1, 2}) + samples + cut_short, {samples}},
      {"too long", StartCode(0xFA) + Of({1, 2}) + too_long,
       {Bytes(too_long.begin(), too_long.begin() + kAudioBufferBytes - 4)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes stream = c.first + next;
    std::vector<Bytes> audio = c.audio;
    audio.push_back(Of({0x41, 0x42}));
    EXPECT_EQ(ParseWhole(stream).audio, audio);
    ExpectCutsChangeNothing(stream);
  }
}

TEST(StreamParserTest, AudioInsideAVideoFrameLeavesTheFrameWhole) {
  const Bytes first = Filler(30, 2), second = Filler(20, 3);
  const Bytes stream = StartCode(0xF8) + first + StartCode(0xFA) + Of({1, 2, 0x61, 0x62}) + StartCode(0xF8) + second +
                       StartCode(0xF8);
  const Outcome out = ParseWhole(stream);
  ASSERT_EQ(out.video.size(), 2u);
  // The audio goes its own way; the audio start code's bytes leave the frame with the next one's.
  EXPECT_EQ(out.video[0], StartCode(0xF8) + first);
  EXPECT_EQ(out.audio, std::vector<Bytes>{Of({0x61, 0x62})});
  ExpectCutsChangeNothing(stream);
}

TEST(StreamParserTest, AControlPacketInsideAFrameLeavesTheFrameWhole) {
  const Bytes body = Filler(64, 4);
  const Bytes notice = Of(ControlPacket(kDisconnectNotice, {}));
  const Bytes report = Of(ControlPacket(kStatusReport, {1, 2, 3, 4, 5}));
  const Bytes stream = StartCode(0xF8) + Bytes(body.begin(), body.begin() + 20) + notice + Bytes(body.begin() + 20, body.end()) +
                       StartCode(0xFA) + Of({1, 2, 0x71}) + report + Of({0x72, 0x73}) + StartCode(0xF9);
  const Outcome out = ParseWhole(stream);
  EXPECT_EQ(out.disconnects, 1);
  ASSERT_EQ(out.statuses.size(), 1u);
  EXPECT_EQ(out.statuses[0], (std::array<uint16_t, 5>{1, 2, 3, 4, 5}));
  ASSERT_EQ(out.video.size(), 1u);
  EXPECT_EQ(out.video[0], StartCode(0xF8) + body);
  EXPECT_EQ(out.audio, std::vector<Bytes>{Of({0x71, 0x72, 0x73})});
  ExpectCutsChangeNothing(stream);
}

TEST(StreamParserTest, APacketCutShortByTheNextUnitLeavesTheFramesAroundItWhole) {
  // Declared longer than the bytes before the next start code: the packet is abandoned there.
  const Bytes body = Filler(40, 13), more = Filler(30, 14);
  const Bytes samples = Of({0x51, 0x52, 0x53});
  const Bytes report = Of(ControlPacket(kStatusReport, {1, 2, 3, 4, 5}));
  const Bytes cut_after_length = StartCode(0xFE) + Of("0020000800");
  const Bytes cut_in_length = StartCode(0xFE) + Of("00");
  for (const Bytes& cut : {cut_after_length, cut_in_length, StartCode(0xFE)}) {
    SCOPED_TRACE(cut.size());
    // Every picture ends with one; cut short by a picture, by audio, by another packet.
    const Bytes stream = StartCode(0xF8) + body + cut + StartCode(0xF9) + more + cut + StartCode(0xFA) +
                         Of({1, 2}) + samples + cut + StartCode(0xF8) + body + cut + report + more + StartCode(0xF8);
    const Outcome out = ParseWhole(stream);
    ASSERT_EQ(out.video.size(), 3u);
    EXPECT_EQ(out.video[0], StartCode(0xF8) + body);
    EXPECT_EQ(out.video[1], StartCode(0xF9) + more);
    EXPECT_EQ(out.video[2], StartCode(0xF8) + body + more);
    EXPECT_EQ(out.audio, std::vector<Bytes>{samples});
    EXPECT_EQ(out.statuses.size(), 1u);
    ExpectCutsChangeNothing(stream);
  }
}

TEST(StreamParserTest, StatusValuesAndTheSingleValue) {
  Receiver receiver;
  receiver.Feed(Of(ControlPacket(kStatusReport, {10, 20, 30, 40, 50})) + Of(ControlPacket(kSingleStatus, {99})) +
                Of(ControlPacket(5, {1})) + Of(ControlPacket(0x1234, {})));
  const Outcome& out = receiver.Drain();
  ASSERT_EQ(out.statuses.size(), 2u);
  EXPECT_EQ(out.statuses[1], (std::array<uint16_t, 5>{10, 20, 30, 40, 99}));
  EXPECT_EQ(receiver.Parser().StatusValues()[4], 99);
}

TEST(StreamParserTest, ShortOrBrokenControlPacketsAreNotActedOn) {
  // A whole disconnect notice, then packets whose own bytes end before the command field: the
  // old packet's bytes must not be taken for theirs.
  const Bytes notice = Of(ControlPacket(kDisconnectNotice, {}));
  const Bytes short_packet = StartCode(0xFE) + Of("0008");
  const Bytes not_hex = StartCode(0xFE) + Of("00G0");
  const Bytes status_too_short = StartCode(0xFE) + Of("000C0008");  // a report without values
  const Bytes body = Filler(12, 5);
  const Bytes stream = notice + short_packet + not_hex + status_too_short + StartCode(0xF8) + body + StartCode(0xF8);
  const Outcome out = ParseWhole(stream);
  EXPECT_EQ(out.disconnects, 1);
  EXPECT_TRUE(out.statuses.empty());
  ASSERT_EQ(out.video.size(), 1u);
  EXPECT_EQ(out.video[0], StartCode(0xF8) + body);
  ExpectCutsChangeNothing(stream);
}

TEST(StreamParserTest, HugeControlPacketsAreDroppedWithoutOverrun) {
  // Declared 65535 bytes: nothing past the control buffer is stored, nothing is acted on, and
  // the next picture start code ends it.
  Bytes stream = StartCode(0xFE) + Of("FFFF000B") + Filler(5000, 6);
  const Bytes body = Filler(8, 7);
  stream = stream + StartCode(0xF8) + body + StartCode(0xF8);
  const Outcome out = ParseWhole(stream);
  EXPECT_EQ(out.disconnects, 0);
  ASSERT_EQ(out.video.size(), 1u);
  EXPECT_EQ(out.video[0], StartCode(0xF8) + body);

  // One just over the buffer, declared and delivered whole, is dropped whole.
  const Bytes big = StartCode(0xFE) + Of("0401000B") + Filler(kControlBufferBytes + 1 - 12, 8);
  EXPECT_EQ(ParseWhole(big + StartCode(0xF8) + body + StartCode(0xF8)).disconnects, 0);
}

TEST(StreamParserTest, OversizeFramesAreCut) {
  const Bytes big_video = Filler(kVideoBufferBytes + 100, 9);
  const Bytes big_audio = Filler(kAudioBufferBytes + 100, 10);
  const Outcome out = ParseWhole(StartCode(0xF8) + big_video + StartCode(0xFA) + big_audio + StartCode(0xF8));
  ASSERT_EQ(out.video.size(), 1u);
  // Cut at the buffer, less the four bytes of the next start code.
  EXPECT_EQ(out.video[0].size(), kVideoBufferBytes - 4);
  EXPECT_EQ(Bytes(out.video[0].begin() + 4, out.video[0].end()), Bytes(big_video.begin(), big_video.begin() + kVideoBufferBytes - 8));
  ASSERT_EQ(out.audio.size(), 1u);
  EXPECT_EQ(out.audio[0].size(), kAudioBufferBytes - 4);
}

TEST(StreamParserTest, AFullQueueLosesTheFrameAndCountsIt) {
  Receiver receiver;
  const Bytes body = Filler(10, 11);
  Bytes stream;
  for (int i = 0; i < 18; ++i) stream = stream + StartCode(0xF8) + body;
  receiver.Feed(stream + StartCode(0xF8));
  EXPECT_EQ(receiver.Parser().Traffic().video_frames.load(), 16u);
  EXPECT_EQ(receiver.Parser().Traffic().video_lost.load(), 2u);
  EXPECT_EQ(receiver.Drain().video.size(), 16u);
}

TEST(StreamParserTest, NetworkFramesCarryTheFixedTime) {
  const media::FrameTime time = NetworkFrameTime();
  EXPECT_EQ(time.year, 2008);
  EXPECT_EQ(time.month, 1);
  EXPECT_EQ(time.day, 1);
  EXPECT_EQ(time.hour, 10);
  EXPECT_EQ(time.minute, 0);
  EXPECT_EQ(time.second, 0);
}

}  // namespace
}  // namespace dvr::net

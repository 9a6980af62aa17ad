// The network stream parser on arbitrary bytes, fed in pieces whose sizes the input chooses:
// nothing may crash, overrun a buffer or make a frame bigger than its slot, and the same bytes fed
// whole must give the same frames and notices. Then, since both feeds could be wrong alike, a
// stream the input describes: pictures and audio frames with control packets inside them, whole
// or cut short by the next unit or packet. Every frame must come out exactly as it went in.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/frame_queue.h"
#include "net/protocol.h"
#include "net/stream_parser.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Tally : dvr::net::ControlHandler {
  uint64_t statuses = 0, disconnects = 0;
  void OnStatus(const std::array<uint16_t, 5>&) override { ++statuses; }
  void OnDisconnectNotice() override { ++disconnects; }
};

// Queues are made once (they are big) and left empty after every input.
struct Queues {
  dvr::engine::FrameQueue video{"video"}, audio{"audio"};
  Queues() {
    video.Allocate(dvr::net::kVideoBufferBytes, 16);
    audio.Allocate(dvr::net::kAudioBufferBytes, 16);
  }
};

struct Run {
  explicit Run(Queues& q) : video(q.video), audio(q.audio) {}
  dvr::engine::FrameQueue& video;
  dvr::engine::FrameQueue& audio;
  Tally tally;
  dvr::net::StreamParser parser{video, audio, tally};
  std::vector<uint32_t> lengths;
  std::vector<Bytes> video_frames, audio_frames;
  // Takes what is queued, so that queues never fill and lose frames.
  void Drain(dvr::media::MediaFrame& frame) {
    while (video.Take(frame)) {
      lengths.push_back(frame.length);
      video_frames.emplace_back(frame.payload.begin(), frame.payload.begin() + frame.length);
    }
    while (audio.Take(frame)) {
      lengths.push_back(0x80000000u | frame.length);
      audio_frames.emplace_back(frame.payload.begin(), frame.payload.begin() + frame.length);
    }
  }
  void Feed(const uint8_t* data, size_t size, size_t piece, dvr::media::MediaFrame& frame) {
    for (size_t at = 0; at < size; at += piece) {
      parser.Parse(data + at, std::min(piece, size - at));
      Drain(frame);
    }
  }
};

// Reads the input as a description; zeros once it is used up.
class Recipe {
 public:
  Recipe(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Left() const { return at_ < size_; }
  uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

// A stream and what the parser must make of it.
struct Described {
  Bytes stream;
  std::vector<Bytes> video, audio;
  uint64_t statuses = 0, disconnects = 0;

  void Put(const Bytes& bytes) { stream.insert(stream.end(), bytes.begin(), bytes.end()); }
  void Put(const std::string& text) { stream.insert(stream.end(), text.begin(), text.end()); }

  // A whole control packet; the notices it must give.
  void WholePacket(Recipe& recipe) {
    static constexpr uint16_t kCommands[] = {dvr::net::kSingleStatus, dvr::net::kStatusReport,
                                             dvr::net::kDisconnectNotice, 5};
    const uint16_t command = kCommands[recipe.Next() % 4];
    const uint8_t count = recipe.Next();
    const size_t arguments = count == 0xFF ? 300 : count % 8;  // 300: longer than the parser keeps
    std::string packet = dvr::net::ControlPacket(command, {});
    const auto length = dvr::net::FormatHex(static_cast<uint32_t>(dvr::net::kControlHeader + 4 * arguments));
    packet.replace(4, 4, length.data(), 4);
    for (size_t k = 0; k < arguments; ++k) {
      const auto value = dvr::net::FormatHex(recipe.Next());
      packet.append(value.data(), 4);
    }
    Put(packet);
    if (packet.size() > dvr::net::kMaxControlPacket) return;
    if (command == dvr::net::kDisconnectNotice) ++disconnects;
    if ((command == dvr::net::kStatusReport && arguments >= 5) || (command == dvr::net::kSingleStatus && arguments >= 1)) {
      ++statuses;
    }
  }

  // The first bytes of a control packet whose length says more: the next start code cuts it.
  // (Up to three bytes short, the packet takes that many of the start code to be whole; a code
  // that asks for nothing keeps the notices countable.)
  void CutShortPacket(Recipe& recipe) {
    const size_t kept = recipe.Next() % 40;  // after the start code
    const size_t declared = std::max<size_t>(8, 4 + kept + 1 + recipe.Next());
    std::string packet = dvr::net::ControlPacket(5, {1, 2, 3, 4, 5});
    const auto length = dvr::net::FormatHex(static_cast<uint32_t>(declared));
    packet.replace(4, 4, length.data(), 4);
    packet.resize(std::max(packet.size(), 4 + kept), '0');
    Put(packet.substr(0, 4 + kept));
  }

  // Control packets at an insertion point: none, or whole ones, each perhaps after one cut short.
  void Packets(Recipe& recipe) {
    for (int n = recipe.Next() % 3 == 0 ? recipe.Next() % 3 : 0; n > 0; --n) {
      if (recipe.Next() & 1) CutShortPacket(recipe);
      WholePacket(recipe);
    }
  }

  // A picture (F8, F9) or an audio frame (FA, two header bytes first) with packets inside.
  void Unit(Recipe& recipe) {
    const uint8_t type = static_cast<uint8_t>(0xF8 + recipe.Next() % 3);
    const Bytes start = {0x00, 0x00, 0x01, type};
    Bytes content(recipe.Next());
    for (uint8_t& b : content) {
      b = recipe.Next();
      if (b < 0x20) b = 0;  // zeros often, a 01 never: no start code inside
    }
    Put(start);
    for (const uint8_t b : content) {
      Packets(recipe);
      stream.push_back(b);
    }
    Packets(recipe);
    if (recipe.Next() & 1) CutShortPacket(recipe);
    if (type != 0xFA && !content.empty()) {  // an empty picture is nothing to hand over
      Bytes frame = start;
      frame.insert(frame.end(), content.begin(), content.end());
      video.push_back(frame);
    } else if (type == 0xFA && content.size() > 2) {
      audio.emplace_back(content.begin() + 2, content.end());
    }
  }
};

void CompareWholeAndPieces(const uint8_t* data, size_t size, size_t piece, Queues& queues,
                           dvr::media::MediaFrame& frame) {
  Run pieces(queues), whole(queues);
  pieces.Feed(data, size, piece, frame);
  whole.Feed(data, size, size, frame);
  // A queue holds 16 frames: the whole feed may have lost some the piecewise one kept.
  if (whole.parser.Traffic().video_lost == 0 && whole.parser.Traffic().audio_lost == 0 &&
      (pieces.lengths.size() != whole.lengths.size() || pieces.tally.statuses != whole.tally.statuses ||
       pieces.tally.disconnects != whole.tally.disconnects)) {
    std::abort();
  }
  for (uint32_t length : pieces.lengths) {
    const bool audio = length & 0x80000000u;
    if ((length & 0x7FFFFFFFu) > (audio ? dvr::net::kAudioBufferBytes : dvr::net::kVideoBufferBytes)) std::abort();
  }
}

void FramesAroundPacketsComeOutWhole(const uint8_t* data, size_t size, size_t piece, Queues& queues,
                                     dvr::media::MediaFrame& frame) {
  Recipe recipe(data, size);
  Described described;
  for (int units = 0; recipe.Left() && units < 12; ++units) described.Unit(recipe);
  described.Put(Bytes{0x00, 0x00, 0x01, 0xF8});  // ends the last unit
  Run run(queues);
  run.Feed(described.stream.data(), described.stream.size(), piece, frame);
  if (run.video_frames != described.video || run.audio_frames != described.audio ||
      run.tally.statuses != described.statuses || run.tally.disconnects != described.disconnects) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static dvr::media::MediaFrame frame(dvr::net::kVideoBufferBytes);
  static Queues queues;
  const size_t piece = data[0] % 17 + 1;
  CompareWholeAndPieces(data + 1, size - 1, piece, queues, frame);
  FramesAroundPacketsComeOutWhole(data + 1, size - 1, piece, queues, frame);
  return 0;
}

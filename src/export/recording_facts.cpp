// Reading a recording back for its evidence: first and last picture, channels.
#include "export/evidence.h"
#include "media/block_source.h"
#include "media/ndf_format.h"
#include "media/start_code_scan.h"
#include "platform/local_time.h"

namespace dvr::exporting {
namespace {

// Walks the frame stream block by block with one start-code register, so that start codes split
// across two blocks are found; a bad block breaks the stream, as it does for the reader.
class FactsScan {
 public:
  explicit FactsScan(EvidenceFacts& facts) : facts_(facts) {}

  void Block(const uint8_t* block, bool big_endian) {
    const uint32_t time = media::ParseBlockHeader(block, big_endian).time;
    const uint8_t* payload = block + media::kHeaderSize;
    size_t at = 0;
    if (channel_pending_) {
      NotePicture(payload[0], picture_time_);
      channel_pending_ = false;
    }
    while (at < media::kPayloadSize) {
      const size_t found =
          media::FindStartCodeForward(payload + at, media::kPayloadSize - at, register_);
      if (found == media::kNoStartCode) break;
      const size_t type_at = at + found;
      const uint8_t type = payload[type_at];
      at = type_at + 1;
      switch (media::KindOfStartCode(type)) {
        case media::FrameKind::kVideo:
          // The channel is the byte after the start code, which may open the next block.
          if (at < media::kPayloadSize) {
            NotePicture(payload[at], time);
          } else {
            channel_pending_ = true;
            picture_time_ = time;
          }
          break;
        case media::FrameKind::kAudio:
          facts_.audio_channels |= static_cast<uint8_t>(1u << media::AudioChannelOf(type));
          break;
        case media::FrameKind::kNone:
          break;
      }
    }
  }

  void Break() {
    register_ = 0xFFFFFFFF;
    channel_pending_ = false;
  }

  bool SawPicture() const { return first_time_.has_value(); }

  void Finish(int32_t bias_seconds) {
    if (!first_time_) return;
    facts_.first_picture = media::ConvertTime(*first_time_, bias_seconds);
    facts_.last_picture = media::ConvertTime(last_time_, bias_seconds);
  }

 private:
  void NotePicture(uint8_t channel_byte, uint32_t time) {
    facts_.video_channels |= static_cast<uint16_t>(1u << (channel_byte & 0x0F));
    if (!first_time_) first_time_ = time;
    last_time_ = time;
  }

  EvidenceFacts& facts_;
  uint32_t register_ = 0xFFFFFFFF;
  bool channel_pending_ = false;
  uint32_t picture_time_ = 0;
  std::optional<uint32_t> first_time_;
  uint32_t last_time_ = 0;
};

}  // namespace

bool ReadRecordingFacts(const std::string& ndf_path, bool big_endian, EvidenceFacts& facts) {
  facts.first_picture.reset();
  facts.last_picture.reset();
  facts.video_channels = 0;
  facts.audio_channels = 0;
  media::BlockSource source;
  if (!source.Open(ndf_path, false)) return false;
  FactsScan scan(facts);
  for (uint64_t index = 0;; ++index) {
    const media::LoadedBlock block = source.Load(index, false);
    if (block.data == nullptr && !block.unreadable) break;  // the end
    if (block.data != nullptr && media::BlockCheckMatches(block.data)) {
      scan.Block(block.data, big_endian);
    } else {
      scan.Break();
    }
  }
  scan.Finish(platform::StandardBiasSeconds());
  return scan.SawPicture();
}

}  // namespace dvr::exporting

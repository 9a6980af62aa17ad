// Reading a recording back for its evidence: first and last picture, channels.
#include "codec/frame_decoder.h"
#include "export/evidence.h"
#include "media/block_source.h"
#include "media/ndf_format.h"
#include "media/start_code_scan.h"
#include "media/variant.h"
#include "platform/local_time.h"

namespace dvr::exporting {
namespace {

// Walks the frame stream block by block with one start-code register, so that start codes split
// across two blocks are found; a bad block breaks the stream, as it does for the reader.
class FactsScan {
 public:
  FactsScan(int variant, EvidenceFacts& facts) : variant_(variant), facts_(facts) {}

  void Block(const uint8_t* block) {
    const uint32_t time = media::ParseBlockHeader(block, variant_ == media::kBigEndianVariant).time;
    const uint8_t* payload = block + media::kHeaderSize;
    size_t at = 0;
    // The header bytes of a picture whose start code ended the block before.
    while (picture_pending_ && at < media::kPayloadSize) TakeHeaderByte(payload[at++]);
    while (at < media::kPayloadSize) {
      const size_t found =
          media::FindStartCodeForward(payload + at, media::kPayloadSize - at, register_);
      if (found == media::kNoStartCode) break;
      const size_t type_at = at + found;
      const uint8_t type = payload[type_at];
      at = type_at + 1;
      switch (media::KindOfStartCode(type)) {
        case media::FrameKind::kVideo:
          // The channels are in the two bytes after the start code, which may open the next block.
          picture_time_ = time;
          picture_pending_ = true;
          header_bytes_ = 0;
          for (size_t i = at; picture_pending_ && i < media::kPayloadSize; ++i) TakeHeaderByte(payload[i]);
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
    picture_pending_ = false;
  }

  bool SawPicture() const { return first_time_.has_value(); }

  void Finish(int32_t bias_seconds) {
    if (!first_time_) return;
    facts_.first_picture = media::ConvertTime(*first_time_, bias_seconds);
    facts_.last_picture = media::ConvertTime(last_time_, bias_seconds);
  }

 private:
  // Byte 4 or 5 of the picture begun last; the picture counts once both are in.
  void TakeHeaderByte(uint8_t byte) {
    header_[header_bytes_++] = byte;
    if (header_bytes_ < 2) return;
    facts_.video_channels |= codec::HeaderChannels(variant_, header_[0], header_[1]);
    if (!first_time_) first_time_ = picture_time_;
    last_time_ = picture_time_;
    picture_pending_ = false;
  }

  int variant_;
  EvidenceFacts& facts_;
  uint32_t register_ = 0xFFFFFFFF;
  bool picture_pending_ = false;  // its header bytes are not all in yet
  size_t header_bytes_ = 0;
  uint8_t header_[2] = {};
  uint32_t picture_time_ = 0;
  std::optional<uint32_t> first_time_;
  uint32_t last_time_ = 0;
};

}  // namespace

bool ReadRecordingFacts(const std::string& ndf_path, int variant, EvidenceFacts& facts) {
  facts.first_picture.reset();
  facts.last_picture.reset();
  facts.video_channels = 0;
  facts.audio_channels = 0;
  media::BlockSource source;
  if (!source.Open(ndf_path, false)) return false;
  FactsScan scan(variant, facts);
  for (uint64_t index = 0;; ++index) {
    const media::LoadedBlock block = source.Load(index, false);
    if (block.data == nullptr && !block.unreadable) break;  // the end
    if (block.data != nullptr && media::BlockCheckMatches(block.data)) {
      scan.Block(block.data);
    } else {
      scan.Break();
    }
  }
  scan.Finish(platform::StandardBiasSeconds());
  return scan.SawPicture();
}

}  // namespace dvr::exporting

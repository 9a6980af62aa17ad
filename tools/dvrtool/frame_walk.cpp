#include "frame_walk.h"

namespace dvrtool {

FrameWalk::FrameWalk(dvr::media::RecordingReader& reader, bool backward, bool decode)
    : reader_(reader), backward_(backward), decode_(decode), frame_(dvr::media::kFrameCapacity) {
  decoder_.Init(reader.Variant());
  if (backward_) reader_.SetPositionToEnd();
}

FrameWalk::Step FrameWalk::Next() {
  frame_.length = backward_ ? reader_.PreviousFrame(frame_.payload) : reader_.NextFrame(frame_.payload);
  if (frame_.length == 0) return reader_.LastBlockBad() ? Step::kBadBlock : Step::kEnd;
  reader_.DescribeFrame(frame_);
  ++index_;
  parsed_ = decoded_ = false;
  if (decode_ && !frame_.is_audio) {
    parsed_ = decoder_.ParseHeader(frame_.payload.data(), frame_.length) != 0;
    decoded_ = parsed_ && pictures_.Decode(decoder_, frame_.payload.data(), frame_.length) != nullptr;
  }
  return Step::kFrame;
}

uint64_t FrameWalk::BadBlockOffset() const {
  // The reader has moved past the bad block: to its end forward, to its start backward.
  return backward_ ? reader_.Position() : reader_.Position() - dvr::media::kBlockSize;
}

const uint8_t* FrameWalk::Picture() const { return pictures_.Picture(decoder_.Channel()); }
uint32_t FrameWalk::PictureWidth() const { return pictures_.Width(decoder_.Channel()); }
uint32_t FrameWalk::PictureHeight() const { return pictures_.Height(decoder_.Channel()); }

}  // namespace dvrtool

#pragma once
// Walks a source frame by frame, as `frames` and `decode` do, optionally decoding every video
// frame into its channel's picture.
#include <cstdint>

#include "codec/channel_pictures.h"
#include "codec/frame_decoder.h"
#include "media/media_frame.h"
#include "media/recording_reader.h"

namespace dvrtool {

class FrameWalk {
 public:
  enum class Step { kFrame, kBadBlock, kEnd };

  FrameWalk(dvr::media::RecordingReader& reader, bool backward, bool decode);

  // The next frame, a bad block skipped (Position() then tells where), or the end.
  Step Next();

  uint64_t Index() const { return index_ - 1; }  // of the frame Next delivered
  uint64_t Offset() const { return reader_.FrameOffset(); }
  uint64_t BadBlockOffset() const;
  const dvr::media::MediaFrame& Frame() const { return frame_; }

  // Decoding results of the last video frame (with decoding on).
  const dvr::codec::FrameDecoder& Decoder() const { return decoder_; }
  bool Parsed() const { return parsed_; }
  bool Decoded() const { return decoded_; }
  // The picture of the frame's channel after it (decoded or not), and its size.
  const uint8_t* Picture() const;
  uint32_t PictureWidth() const;
  uint32_t PictureHeight() const;

 private:
  dvr::media::RecordingReader& reader_;
  bool backward_;
  bool decode_;
  uint64_t index_ = 0;
  dvr::media::MediaFrame frame_;
  dvr::codec::FrameDecoder decoder_;
  dvr::codec::ChannelPictures pictures_;
  bool parsed_ = false;
  bool decoded_ = false;
};

}  // namespace dvrtool

#pragma once
// What a frame shows: the MD5 of the picture it decodes to on its own under a variant.
#include <string>
#include <vector>

#include "codec/channel_pictures.h"
#include "codec/frame_decoder.h"
#include "platform/md5.h"

namespace dvr::test {

// "" when the frame does not parse or decode.
inline std::string DecodedPictureMd5(const std::vector<uint8_t>& frame, int variant) {
  codec::FrameDecoder decoder;
  codec::ChannelPictures pictures;
  decoder.Init(variant);
  if (decoder.ParseHeader(frame.data(), static_cast<uint32_t>(frame.size())) == 0) return "";
  const uint8_t* picture = pictures.Decode(decoder, frame.data(), static_cast<uint32_t>(frame.size()));
  return picture ? platform::Md5Hex(picture, decoder.PictureWidth() * decoder.PictureHeight() * 3 / 2) : "";
}

}  // namespace dvr::test

#pragma once
// Where composed export frames go (the AVI writer): the presenter composes frames of the sink's
// size and hands each finished one over.
#include <cstdint>

namespace dvr::display {

class ExportSink {
 public:
  virtual ~ExportSink() = default;
  // The frame size to compose for.
  virtual int FrameWidth() const = 0;
  virtual int FrameHeight() const = 0;
  // A 24-bit bottom-up frame of that size; 0 when written, else a result code.
  virtual int WriteVideo(const uint8_t* frame, bool key_frame) = 0;
};

}  // namespace dvr::display

#pragma once
// A recording for the viewer tests: `channels` cameras, `rate` pictures a second each.
#include <string>

#include "support/encoded_recording.h"
#include "support/temp_dir.h"

namespace dvr::test {

inline std::string WriteViewerRecording(const TempDir& dir, int channels, double seconds,
                                        int rate) {
  EncodedRecording recording;
  for (int frame = 0; frame < static_cast<int>(seconds * rate); ++frame) {
    for (int channel = 0; channel < channels; ++channel)
      recording.Video(channel, static_cast<double>(frame) / rate);
  }
  return dir.Write("viewer.NDF", recording.Build());
}

}  // namespace dvr::test

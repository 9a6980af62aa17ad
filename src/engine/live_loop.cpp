// The live loop: shows the frames the network client delivers as they arrive and plays their
// audio. No pacing, no commands, no reader.
#include "engine/viewer_engine.h"

#include "export/field_frame.h"

namespace dvr::engine {
namespace {

// The audio output is serviced at least this often, whatever arrives: a stalled stream pauses
// the device instead of looping the last half second of sound.
constexpr uint32_t kServiceEveryMs = 100;
constexpr size_t kAudioFrameBytes = 8192;

}  // namespace

void ViewerEngine::LiveLoop() {
  audio_output_.Start();
  media::MediaFrame audio_frame(kAudioFrameBytes);
  platform::Event never;  // stands in for a queue that is not there
  platform::Event& video_ready = live_video_ ? live_video_->HasFramesEvent() : never;
  platform::Event& audio_ready = live_audio_ ? live_audio_->HasFramesEvent() : never;
  uint32_t serviced = clock_.Tick();
  while (IsRunning()) {
    const int event = platform::WaitAny({&StopEvent(), &video_ready, &audio_ready, &export_tick_}, kServiceEveryMs);
    if (event == 0) break;
    if (event == 1 && live_video_->Take(frame_)) {
      // Shown first: recording rewrites the frame's header bytes in place. Without pictures the
      // decode and the composition are skipped, the costly part of a frame.
      const bool show = show_live_pictures_;
      if (decoder_.ParseHeader(frame_.payload.data(), frame_.length) && (!show || ShowVideoFrame(frame_.time))) {
        recording_writer_.WriteVideo(frame_.payload.data(), frame_.length);
        if (show && export_active_ && export_kind_ == exporting::kEveryPictureExport) ExportLivePicture(true);
      }
    } else if (event == 3) {
      if (export_active_ && export_kind_ == exporting::kLowSpeedExport) ExportLivePicture(false);
      export_tick_.Reset();
    } else if (event == 2 && live_audio_->Take(audio_frame)) {
      PlayLiveAudio(audio_frame);
    }
    // After a gap in the stream the device was paused for the underrun: it plays again as soon
    // as enough is queued, however busy the queues keep the loop.
    if (event == 2 || clock_.Tick() - serviced >= kServiceEveryMs) {
      audio_output_.Service();
      serviced = clock_.Tick();
    }
  }
  audio_output_.Silence();
  recording_writer_.Close();  // a local recording ends with the connection
}

void ViewerEngine::PlayLiveAudio(const media::MediaFrame& audio_frame) {
  uint32_t length = 0;
  converter_.Convert(audio_frame.payload.data(), audio_frame.length, pcm_.data(), &length);
  const bool accepted = audio_output_.Write(pcm_.data(), length) != 0;
  if (accepted) recording_writer_.WriteAudio(audio_frame.payload.data(), audio_frame.length);
  {
    std::lock_guard lock(counters_mutex_);
    if (accepted) {
      counters_.audio_bytes += length;
    } else {
      ++counters_.audio_refused;  // neither played nor recorded
    }
  }
  if (export_active_) {
    // Each audio frame carries a video frame along, so that the export keeps its pace.
    avi_writer_.WriteAudio(audio_frame.payload.data(), audio_frame.length);
    if (!display_.ExportFrameBuffer().empty()) avi_writer_.WriteVideo(display_.ExportFrameBuffer().data(), true);
  }
}

void ViewerEngine::ExportLivePicture(bool write) {
  std::vector<uint8_t>& buffer = display_.ExportFrameBuffer();
  const auto width = static_cast<int>(pictures_.Width(decoder_.Channel()));
  const auto height = static_cast<int>(pictures_.Height(decoder_.Channel()));
  if (buffer.empty() || static_cast<size_t>(width) * height * 2 * 3 > buffer.size()) return;
  exporting::PictureToExportFrame(buffer.data(), pictures_.Picture(decoder_.Channel()), width, height);
  if (write && export_active_) avi_writer_.WriteVideo(buffer.data(), true);
}

}  // namespace dvr::engine

#pragma once
// The export file: a video stream compressed by an FFmpeg encoder of the user's choice and an
// audio stream with the recorder's audio. AVI by default (FFmpeg's muxer, OpenDML past 1 GiB); an
// .mp4, .mkv or .mov path gets that container. Frames arrive as 24-bit bottom-up bitmaps, audio
// as the recorder's payloads, unconverted.
//
// The state (5 while a write runs) is what coordinates the window thread, which opens and closes,
// with the worker that writes: Close waits up to a second for a write in progress, and a write
// meeting any other state than 1 is refused with its code.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "display/export_sink.h"
#include "export/bitmap_header.h"
#include "export/export_rate.h"
#include "platform/notices.h"

struct AVFormatContext;
struct AVStream;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

namespace dvr::exporting {

enum AviResult : int {
  kAviOk = 0,
  kAviNotOpen = 100,
  kAviOpening = 101,
  kAviClosing = 102,
  kAviWriting = 105,
  kAviWriteRefused = 200,
  kAviNoFrame = 206,
  kAviEmptyPath = 302,
  kAviCancelled = 402,
  kAviNoFile = 403,
  kAviBadSize = 404,
  kAviCannotCreate = 600,
  kAviNoStream = 602,
  kAviNoCompressor = 603,
  kAviFormatRefused = 606,
  kAviNoCompressingStream = 607,
};

enum AviState : int { kAviClosed = 0, kAviIdle = 1, kAviOpeningState = 2, kAviClosingState = 3, kAviWritingState = 5 };

// What the compressor dialog asks: the encoder and its settings.
struct VideoEncoderChoice {
  std::string codec = "mjpeg";  // an FFmpeg encoder name
  int quality = 0;              // 1 (best) .. 31 on the encoder's quantiser scale (CRF for H.264); 0: its default
  int64_t bit_rate = 0;         // bits per second instead of a quality; 0: none
  int key_frame_interval = 0;   // pictures from one key frame to the next; 0: the encoder's default
  bool cancelled = false;       // the user closed the dialog
};

// The encoders the export offers that this FFmpeg has: mjpeg, mpeg4, ffv1, huffyuv, rawvideo,
// libx264 where present.
std::vector<std::string> AvailableVideoEncoders();
// H.264 where there is one, else MPEG-4: the choice for .mp4, .mkv and .mov.
std::string DefaultVideoEncoderFor(const std::string& path);

class AviWriter final : public display::ExportSink {
 public:
  explicit AviWriter(platform::Notices& notices);
  ~AviWriter() override;
  AviWriter(const AviWriter&) = delete;
  AviWriter& operator=(const AviWriter&) = delete;

  // The recorder's audio format code and rate, copied from the engine's configuration.
  void SetAudioSource(int format_code, int sample_rate);
  // Stands for the compressor dialog of the next Open.
  void SetVideoEncoder(const VideoEncoderChoice& choice);
  // Leaves the audio stream out (for exports without sound).
  void SetWithAudio(bool on) { with_audio_ = on; }

  int Open(const std::string& path, int bit_count, int width, int height,
           const BitmapHeader* header, FrameRate frame_rate);
  int WriteVideo(const uint8_t* frame, bool key_frame) override;
  int WriteAudio(const uint8_t* data, size_t bytes);
  int Close();

  int State() const { return state_.load(); }
  uint32_t FramesWritten() const { return frames_written_; }
  uint32_t AudioPosition() const { return audio_position_; }
  uint32_t WriteFailures() const { return write_failures_; }
  int FrameWidth() const override { return header_.width; }
  int FrameHeight() const override { return header_.height; }
  const std::string& Path() const { return path_; }

 private:
  int OpenVideo(FrameRate frame_rate);
  int OpenAudio();
  // Sends one frame (or nothing, to drain) through an encoder into the file.
  bool Encode(AVCodecContext* encoder, AVStream* stream, AVFrame* frame);
  bool WritePcm(const uint8_t* data, size_t bytes);
  bool EncodeAac(const uint8_t* data, size_t bytes);
  void Release();
  // Moves the state from idle to writing; false, with the state found, when it was not idle.
  bool BeginWrite(int& found);
  // The result of a write that found the writer in `state` rather than idle.
  static int BusyCode(int state);

  platform::Notices& notices_;
  VideoEncoderChoice choice_;
  bool with_audio_ = true;
  int audio_format_ = 5;
  int sample_rate_ = 8000;

  // The file, its streams and the video encoder, as FFmpeg objects.
  AVFormatContext* m_pAVIFileInterface = nullptr;     // the open file
  AVStream* m_pStreamInterface = nullptr;             // the video stream in it
  AVCodecContext* m_pAviCompressedStream = nullptr;   // the video encoder frames are written through
  AVStream* m_pAudioStreamInterface = nullptr;        // the audio stream
  AVCodecContext* audio_encoder_ = nullptr;           // only where the container takes no PCM
  SwsContext* scaler_ = nullptr;
  AVFrame* picture_ = nullptr;
  AVFrame* audio_frame_ = nullptr;
  AVPacket* packet_ = nullptr;
  std::vector<uint8_t> audio_bytes_;  // a payload made playable (signed 8-bit samples), reused
  int source_pixel_format_ = 0;

  std::atomic<int> state_{kAviClosed};
  bool file_opened_ = false;
  std::string path_;
  BitmapHeader header_;
  uint32_t frames_written_ = 0;
  uint32_t audio_position_ = 0;
  uint16_t block_align_ = 1;
  uint32_t write_failures_ = 0;
  int64_t audio_samples_encoded_ = 0;
};

}  // namespace dvr::exporting

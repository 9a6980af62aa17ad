#pragma once
// The one object through which the main window drives everything that moves: the recording
// reader, the decoder, the audio converter and output, the display; one worker thread that plays
// a recording (mode 1) or shows the live stream (mode 2).
//
// Commands reach the worker as a code (with a speed or a seek target) and an event; the worker
// polls them. The window thread calls every operation; the worker writes the state while it runs.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "audio/audio_converter.h"
#include "audio/audio_device.h"
#include "audio/audio_output.h"
#include "codec/channel_pictures.h"
#include "codec/frame_decoder.h"
#include "display/presenter.h"
#include "engine/frame_queue.h"
#include "export/avi_writer.h"
#include "media/recording_reader.h"
#include "export/export_rate.h"
#include "media/recording_writer.h"
#include "media/time_map.h"
#include "net/net_client.h"
#include "platform/clock.h"
#include "platform/event.h"
#include "platform/notices.h"
#include "platform/worker_thread.h"

namespace dvr::engine {

// Worker states.
enum WorkerState : int {
  kStopped = 0,
  kForward = 2,
  kBackward = 3,
  kStepForward = 4,
  kStepBackward = 5,
  kPaused = 6,
  kSeeking = 7,
};
// Command codes and the state each selects.
enum CommandCode : int {
  kCommandPause = 2,
  kCommandForward = 3,
  kCommandBackward = 4,
  kCommandStepForward = 5,
  kCommandStepBackward = 6,
  kCommandSeek = 7,
  kCommandSeekTime = 8,
};
int StateForCommand(int command, int state);
// Channels shown at once for a requested split: 16 for n >= 10, 9 for n >= 5, 4 for n >= 2, else 1.
int SplitCountFor(unsigned n);
// The state's name as the status line shows it: "READY", "再生", "一時停止" ...
const char* StateName(int state);

enum EngineMode : int { kPlayerMode = 1, kNetworkMode = 2 };

// What the worker has done since the source was opened, for the tools.
struct PlaybackCounters {
  std::array<uint64_t, 16> shown{};  // pictures shown per slot
  uint64_t not_shown = 0;            // video frames that did not decode or showed no half
  uint64_t jumps = 0;                // fast-play skips
  uint64_t audio_bytes = 0;          // PCM bytes queued for playing
  uint64_t audio_refused = 0;        // live audio frames the device had no room for (dropped)
  media::FrameTime first_shown{};    // times of the first and the last picture shown
  media::FrameTime last_shown{};
  // The pictures shown since the export last started: what it holds.
  media::FrameTime first_exported{};
  media::FrameTime last_exported{};
  uint16_t exported_channels = 0;  // bit c: a picture of channel c
};

class ViewerEngine final : public platform::WorkerThread {
 public:
  // `sound` is the sound system's output (nullptr: play silently on the null device).
  ViewerEngine(display::Presenter& display, audio::AudioDevice* sound, platform::Notices& notices,
               platform::Clock& clock);
  ~ViewerEngine() override;

  // Split count: 16 for n >= 10, 9 for n >= 5, 4 for n >= 2, else 1.
  bool Setup(int variant, int audio_format, unsigned requested_split, int sample_rate, int fifth);
  // 1 player, 2 network client; stops the worker. A split of 0xFFFFFFFF keeps the split count.
  bool SetMode(int mode, unsigned split);
  int Mode() const { return mode_; }
  int Variant() const { return variant_; }  // the recorder's, as Setup was given it
  int State() const { return state_.load(); }
  // A command was given that the worker has not taken yet: State() does not show it so far.
  bool CommandPending() const { return (command_word_.load() >> 32) != taken_command_.load(); }
  double Speed() const { return speed_.load(); }
  int SplitCount() const { return split_count_; }

  // Opens a recording or disk and starts playing it forward. The caller closes one first.
  bool OpenRecording(const std::string& path, bool is_disk);
  void CloseRecording();
  // The live stream: frames from two queues; starts and stops the worker.
  bool StartLive(FrameQueue& video, FrameQueue& audio);
  void StopLive();

  // A session with a DVR: the live loop on the network client's queues, then the client. A
  // session already running ends first. False (nothing started) when the client refuses the
  // parameters; its last error says why.
  bool ConnectDirect(const std::string& dvr_address, uint16_t port, const std::string& password);
  bool ConnectDdns(const std::string& ddns_address, uint16_t port, const std::string& dvr_name,
                   const std::string& password);
  // Logs out and ends the session: the client first, then the live loop.
  void Disconnect();
  // A session was started and not yet ended by Disconnect: the client's worker or the live loop
  // still runs (the client's worker ends by itself after a failed login).
  bool SessionRunning() const { return client_.HasThread() || live_video_ != nullptr; }
  void SetNetListener(net::NetListener* listener) { client_.SetListener(listener); }
  bool SendKey(int key_code) { return client_.SendKey(key_code); }
  int NetStatus() const { return client_.Status(); }
  bool LoggedIn() const { return client_.LoggedIn(); }
  std::string NetLastError() const { return client_.LastError(); }
  std::array<uint16_t, 5> NetStatusValues() const { return client_.StatusValues(); }
  void SetNetTimeout(uint32_t ms) { client_.SetTimeout(ms); }
  uint32_t NetTimeout() const { return client_.Timeout(); }
  // The client itself, read-only: its traffic counters.
  const net::NetClient& Network() const { return client_; }
  // 0 off, 1 mouse packets, 2 mouse packets with the DVR's cursor shown. Set before connecting.
  void SetMouseMode(int mode) { client_.SetMouseSource(&display_.Mouse(), mode); }

  // Records the live stream into a new file (an open one is closed first). False when the file
  // cannot be created.
  bool StartRecording(const std::string& path);
  // True when a recording was open (and is now closed).
  bool StopRecording();
  bool IsRecording() const { return recording_writer_.IsOpen(); }
  // The recording goes on in a new file from the next full picture on, no frame lost or written
  // twice at the cut (see RecordingWriter::ContinueIn).
  bool ContinueRecordingIn(const std::string& path) { return recording_writer_.ContinueIn(path); }
  // The file the recording writes now ("" when none).
  std::string RecordingPath() const { return recording_writer_.Path(); }
  // Off: live pictures are neither decoded nor shown, for a session nobody watches; every video
  // frame whose header parses is recorded. Set before connecting.
  void SetShowLivePictures(bool on) { show_live_pictures_ = on; }

  const std::string& Path() const { return reader_.Path(); }
  uint64_t Size() const { return reader_.Size(); }
  uint64_t Position() const { return position_.load(); }
  bool IsOpen() const { return reader_.IsOpen(); }
  bool CurrentTime(media::FrameTime& out) const;
  bool ExportRange(uint64_t from, uint64_t to, const std::string& path) {
    return reader_.ExportRange(from, to, path);
  }

  bool Pause();
  bool PlayForward(double speed);
  bool PlayBackward(double speed);
  bool FastForward();
  bool FastBackward();
  bool StepForward();
  bool StepBackward();
  bool Seek(uint64_t position);

  // The recorded-time map of the open source, built elsewhere (nullptr: none yet). Opening or
  // closing a source forgets it.
  void SetTimeMap(std::shared_ptr<const media::TimeMap> map);
  std::shared_ptr<const media::TimeMap> GetTimeMap() const;
  // Goes to the first picture at or after `time` (a block's time field) and carries on in the
  // current state: playing on from there, or paused showing it. False when no source or map is
  // there, or the source recorded nothing at or after `time`.
  bool SeekTime(uint32_t time);
  // Playing forward pauses before the first picture recorded after `time` (nothing: plays on),
  // so that an export of a span ends on its last picture.
  void SetStopTime(std::optional<uint32_t> time) { stop_time_ = time ? *time : kNoStopTime; }

  void SetRepeat(bool on) { repeat_ = on; }
  bool Repeat() const { return repeat_; }
  void SetAutoReconnect(bool on) { auto_reconnect_ = on; }
  bool AutoReconnect() const { return auto_reconnect_; }
  void SetVolume(uint32_t level) { audio_output_.SetVolume(level); }
  uint32_t Volume() const { return audio_output_.Volume(); }
  void SetMute(bool on) { audio_output_.SetMute(on); }
  bool Muted() const { return audio_output_.Muted() != 0; }
  bool SetSplit(int split, int page) { return display_.SetSplit(split, page); }
  std::pair<int, int> GetSplit() const { return display_.GetSplit(); }
  void SetTimeFormat(const std::string& format) { display_.SetTimeFormat(format); }
  std::string TimeFormat() const { return display_.TimeFormat(); }
  void SetTimeInLabels(bool on) { display_.SetTimeInLabels(on); }
  bool TimeInLabels() const { return display_.TimeInLabels(); }
  void SetLabelTextColor(uint32_t colour) { display_.SetLabelTextColor(colour); }
  void SetLabelOutlineColor(uint32_t colour) { display_.SetLabelOutlineColor(colour); }
  void SetLabelFont(int height, int width, int weight, bool italic, const std::string& face) {
    display_.SetLabelFont(height, width, weight, italic, face);
  }
  display::Presenter& Display() { return display_; }
  void SetUseDirectDraw(bool on) { display_.SetUseDirectDraw(on); }
  bool UseDirectDraw() const { return display_.UseDirectDraw(); }
  // The still image: what the display shows, to the clipboard and to the file at `path`.
  bool SaveSnapshot(const std::string& path) { return display_.SaveSnapshot(path); }

  // AVI export. The writer is opened and closed by the caller; while the export is active the
  // display composes player-mode frames into it, and the live loop writes every picture (kind 7)
  // or the current picture at each export tick (kind 6), and the audio.
  exporting::AviWriter& Avi() { return avi_writer_; }
  void SetExportActive(bool on, int kind = exporting::kEveryPictureExport);
  bool ExportActive() const { return export_active_; }
  platform::Event& ExportTickEvent() { return export_tick_; }

  PlaybackCounters Counters() const;
  int FrameInterval() const { return frame_interval_.load(); }
  // The decoder's picture size of the last picture shown (0 before the first) and the
  // recording's pacing count then, for the export's frame size and rate.
  int PictureWidth() const { return picture_width_.load(); }
  int PictureHeight() const { return picture_height_.load(); }
  int Pacing() const { return pacing_.load(); }

 protected:
  void Run() override;

 private:
  bool Command(int code);
  void StopWorker();
  void OpenAudio();

  // The playback loop and its steps.
  void PlaybackLoop();
  enum class Pass { kBookkeeping, kNext };
  Pass PlayForwardPass();
  Pass PlayBackwardPass();
  Pass StepPass(bool forward);
  Pass SeekPass();
  // Where a seek by time lands: the first byte of the block, through the map.
  std::optional<uint64_t> PositionAtTime(uint32_t time);
  Pass Output();
  void PlayAudioFrame();
  bool ShowVideoFrame(const media::FrameTime& time);
  void Bookkeeping();
  void Pace();
  bool ParsedFrameIsShown();

  // The live loop.
  void LiveLoop();
  // Starts the live loop and then the client, whose parameters are set.
  bool StartSession();
  // The live picture into the export frame buffer (and to the writer when `write`).
  void ExportLivePicture(bool write);
  // Plays a live audio frame and records it when the device took it; feeds the export.
  void PlayLiveAudio(const media::MediaFrame& audio_frame);

  display::Presenter& display_;
  platform::Notices& notices_;
  platform::Clock& clock_;

  // Owned members, in the order the system builds them.
  media::RecordingReader reader_;
  net::NetClient client_;
  codec::FrameDecoder decoder_;
  audio::AudioConverter converter_;
  audio::AudioOutput audio_output_;
  media::RecordingWriter recording_writer_;
  exporting::AviWriter avi_writer_;

  // Set on the window thread before the worker starts; read-only while it runs.
  int mode_ = kNetworkMode;
  int split_count_ = 4;
  int variant_ = 4, audio_format_ = audio::kALaw, requested_split_ = 4, sample_rate_ = audio::kSampleRate, fifth_ = 0;
  FrameQueue* live_video_ = nullptr;
  FrameQueue* live_audio_ = nullptr;

  // Written by the window thread, read by the worker after the command event.
  std::atomic<int> command_{0};  // the last command given
  // The last command with its number, as one word, so that the worker never takes a number with
  // another command's code; and the number of the last it took.
  std::atomic<uint64_t> command_word_{0};
  std::atomic<uint32_t> taken_command_{0};
  uint32_t commands_given_ = 0;  // window thread only
  platform::Event command_event_;
  std::atomic<uint64_t> seek_target_{0};
  std::atomic<uint32_t> seek_time_{0};
  std::atomic<int> seek_resume_state_{kPaused};  // where a seek by time leaves the player
  static constexpr uint64_t kNoStopTime = UINT64_MAX;
  std::atomic<uint64_t> stop_time_{kNoStopTime};
  mutable std::mutex time_map_mutex_;
  std::shared_ptr<const media::TimeMap> time_map_;  // guarded by time_map_mutex_
  std::atomic<double> speed_{1.0};
  std::atomic<bool> repeat_{false};
  std::atomic<bool> auto_reconnect_{true};
  std::atomic<bool> export_active_{false};
  std::atomic<bool> show_live_pictures_{true};
  std::atomic<int> export_kind_{exporting::kEveryPictureExport};
  platform::Event export_tick_;

  // Written by the worker while it runs; read by the window thread.
  std::atomic<int> state_{kStopped};
  std::atomic<int> frame_interval_{33333};
  std::atomic<int> picture_width_{0};
  std::atomic<int> picture_height_{0};
  std::atomic<int> pacing_{0};
  std::atomic<uint64_t> position_{0};  // the reader's, after the worker's last pass
  mutable std::mutex time_mutex_;
  media::FrameTime current_time_;  // guarded by time_mutex_

  // Worker only.
  media::BlockSource time_source_;  // the source again, for seeks by time (opened with it)
  bool seek_by_time_ = false;
  int frames_past_stop_ = 0;   // read in a row with times after the stop time
  uint64_t resume_at_ = 0;     // where the first of them began
  uint32_t tick_stamp_ = 0;
  uint32_t elapsed_ = 0;
  int retries_ = 0;
  int frames_since_skip_ = 0;
  media::MediaFrame frame_{media::kFrameCapacity};
  codec::ChannelPictures pictures_;
  std::vector<uint8_t> half_left_, half_right_;
  std::vector<uint8_t> pcm_;

  mutable std::mutex counters_mutex_;
  PlaybackCounters counters_;  // guarded by counters_mutex_
};

}  // namespace dvr::engine

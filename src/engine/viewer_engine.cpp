#include "engine/viewer_engine.h"

#include <cmath>

#include "engine/speed_rules.h"
#include "net/remote_control.h"
#include "platform/process_services.h"
#include "platform/translatable.h"

namespace dvr::engine {

int StateForCommand(int command, int state) {
  switch (command) {
    case kCommandPause: return kPaused;
    case kCommandForward: return kForward;
    case kCommandBackward: return kBackward;
    case kCommandStepForward: return kStepForward;
    case kCommandStepBackward: return kStepBackward;
    case kCommandSeek:
    case kCommandSeekTime: return kSeeking;
    default: return state;
  }
}

const char* StateName(int state) {
  switch (state) {
    case 0: return "READY";
    case 1: return DVR_TRANSLATABLE("PlayerState", "停止");
    case kForward:
    case kBackward: return DVR_TRANSLATABLE("PlayerState", "再生");
    case kStepForward: return "STEPF";
    case kStepBackward: return "STEPR";
    case kPaused: return DVR_TRANSLATABLE("PlayerState", "一時停止");
    case kSeeking: return "SEARCH";
    default: return "";
  }
}

ViewerEngine::ViewerEngine(display::Presenter& display, audio::AudioDevice* sound,
                           platform::Notices& notices, platform::Clock& clock)
    : display_(display),
      notices_(notices),
      clock_(clock),
      reader_(notices),
      client_(clock),
      audio_output_(notices, sound, clock),
      avi_writer_(notices),
      half_left_(codec::kMaxPictureBytes / 2),
      half_right_(codec::kMaxPictureBytes / 2),
      pcm_(2 * media::kFrameCapacity) {
  platform::AcquireProcessServices();
  client_.SetMouseSource(&display_.Mouse(), net::kMouseHiddenCursor);
}

ViewerEngine::~ViewerEngine() {
  // The loops answer the stop event within a pass: join rather than leave a thread running on
  // members about to be destroyed.
  client_.Stop();
  StopWorker();
  SetExportActive(false);  // the display outlives the writer it was pointed at
  avi_writer_.Close();
  platform::ReleaseProcessServices();
}

void ViewerEngine::OpenAudio() {
  audio::WaveFormat format;
  converter_.SetFormat(audio_format_, sample_rate_, &format);
  audio_output_.Open(&format);
}

int SplitCountFor(unsigned n) { return n >= 10 ? 16 : n >= 5 ? 9 : n >= 2 ? 4 : 1; }

bool ViewerEngine::Setup(int variant, int audio_format, unsigned requested_split, int sample_rate, int fifth) {
  split_count_ = SplitCountFor(requested_split);
  variant_ = variant;
  audio_format_ = audio_format;
  requested_split_ = static_cast<int>(requested_split);
  sample_rate_ = sample_rate;
  fifth_ = fifth;
  display_.SetSlotCount(split_count_);
  reader_.SetVariant(variant);
  decoder_.Init(variant);
  recording_writer_.Init(variant, split_count_);
  avi_writer_.SetAudioSource(audio_format, sample_rate);
  OpenAudio();
  display_.SetSlotCount(1);
  display_.SetLabelsEnabled(false);
  return true;
}

void ViewerEngine::StopWorker() {
  Stop();
  state_ = kStopped;
}

bool ViewerEngine::SetMode(int mode, unsigned split) {
  if (mode != kPlayerMode && mode != kNetworkMode) return false;
  // A session whose live loop stops has nobody to take its frames: it ends first (logout,
  // client, loop). The audio output and the decoder are the worker's: it must not run while they
  // change.
  Disconnect();
  StopWorker();
  OpenAudio();
  if (mode == kPlayerMode) {
    // A split the layout has no page for (0, 3 ...) is rounded as Setup rounds it.
    if (split <= 16) split_count_ = SplitCountFor(split);
    decoder_.Init(variant_);
    display_.SetSlotCount(split_count_);
    display_.SetLabelsEnabled(true);
  } else {
    decoder_.Init(codec::kNetworkVariant);
    display_.SetSlotCount(1);
    display_.SetLabelsEnabled(false);
  }
  display_.ClearPictures();
  mode_ = mode;
  display_.SetEngineMode(mode);
  return true;
}

bool ViewerEngine::OpenRecording(const std::string& path, bool is_disk) {
  StopWorker();  // the reader is the worker's while it runs
  SetTimeMap(nullptr);
  time_source_.Close();
  if (!reader_.Open(path, is_disk)) return false;
  // A second handle for seeks by time: the reader's own look-ahead stays where playing needs it.
  time_source_.Open(path, is_disk);
  position_ = reader_.Position();
  display_.ClearPictures();
  {
    std::lock_guard lock(counters_mutex_);
    counters_ = {};
  }
  picture_width_ = picture_height_ = pacing_ = 0;
  // The worker begins playing forward. The command is given here rather than by the worker, so
  // that a command given right after this one replaces it instead of being replaced by it.
  Command(kCommandForward);
  Start(platform::ThreadPriority::kIdle);
  return true;
}

void ViewerEngine::CloseRecording() {
  if (!reader_.IsOpen()) return;
  StopWorker();
  // Closed for real: the file is let go, and nothing offers to play or export it any more.
  reader_.Close();
  time_source_.Close();
  SetTimeMap(nullptr);
  position_ = 0;
}

bool ViewerEngine::StartLive(FrameQueue& video, FrameQueue& audio) {
  StopWorker();
  live_video_ = &video;
  live_audio_ = &audio;
  decoder_.Init(codec::kNetworkVariant);
  return Start(platform::ThreadPriority::kIdle) == 0;
}

void ViewerEngine::StopLive() {
  StopWorker();
  live_video_ = live_audio_ = nullptr;
}

bool ViewerEngine::ConnectDirect(const std::string& dvr_address, uint16_t port, const std::string& password) {
  Disconnect();
  client_.SetDirect(dvr_address, port, password);
  return StartSession();
}

bool ViewerEngine::ConnectDdns(const std::string& ddns_address, uint16_t port, const std::string& dvr_name,
                               const std::string& password) {
  Disconnect();
  client_.SetDdns(ddns_address, port, dvr_name, password);
  return StartSession();
}

bool ViewerEngine::StartSession() {
  // The live loop runs in network mode only; a connect from the player switches over.
  if (mode_ != kNetworkMode) SetMode(kNetworkMode, 0xFFFFFFFF);
  if (!StartLive(client_.VideoQueue(), client_.AudioQueue())) return false;
  if (client_.Start()) return true;
  StopLive();
  return false;
}

void ViewerEngine::Disconnect() {
  if (!client_.HasThread() && live_video_ == nullptr) return;
  client_.Stop();
  StopLive();
}

void ViewerEngine::SetExportActive(bool on, int kind) {
  export_kind_ = kind;
  if (on) {
    std::lock_guard lock(counters_mutex_);
    counters_.first_exported = counters_.last_exported = {};
    counters_.exported_channels = 0;
  }
  // The display holds on to the writer only while an export runs.
  if (on) display_.SetExportSink(&avi_writer_);
  display_.SetExportActive(on);
  if (!on) display_.SetExportSink(nullptr);
  export_active_ = on;
}

bool ViewerEngine::StartRecording(const std::string& path) {
  recording_writer_.Close();
  return recording_writer_.Open(path);
}

bool ViewerEngine::StopRecording() {
  if (!recording_writer_.IsOpen()) return false;
  recording_writer_.Close();
  return true;
}

bool ViewerEngine::CurrentTime(media::FrameTime& out) const {
  if (state_ == kStopped) return false;
  // The worker's copy: the reader itself is the worker's while it runs.
  std::lock_guard lock(time_mutex_);
  if (current_time_.year == 0) return false;  // no frame handled yet
  out = current_time_;
  return true;
}

bool ViewerEngine::Command(int code) {
  command_ = code;
  command_word_ = static_cast<uint64_t>(++commands_given_) << 32 | static_cast<uint32_t>(code);
  command_event_.Set();
  return true;
}

bool ViewerEngine::Pause() {
  speed_ = SpeedAfterPause(speed_);
  return Command(kCommandPause);
}

bool ViewerEngine::PlayForward(double speed) {
  speed_ = NormalSpeed(speed);
  return Command(kCommandForward);
}

bool ViewerEngine::PlayBackward(double speed) {
  speed_ = NormalSpeed(speed);
  return Command(kCommandBackward);
}

bool ViewerEngine::FastForward() {
  speed_ = FasterSpeed(speed_, command_ == kCommandBackward, state_ == kForward);
  return Command(kCommandForward);
}

bool ViewerEngine::FastBackward() {
  speed_ = FasterSpeed(speed_, command_ == kCommandForward, state_ == kBackward);
  return Command(kCommandBackward);
}

bool ViewerEngine::StepForward() { return Command(kCommandStepForward); }
bool ViewerEngine::StepBackward() { return Command(kCommandStepBackward); }

bool ViewerEngine::Seek(uint64_t position) {
  seek_target_ = position;
  seek_resume_state_ = kPaused;
  return Command(kCommandSeek);
}

void ViewerEngine::SetTimeMap(std::shared_ptr<const media::TimeMap> map) {
  std::lock_guard lock(time_map_mutex_);
  time_map_ = std::move(map);
}

std::shared_ptr<const media::TimeMap> ViewerEngine::GetTimeMap() const {
  std::lock_guard lock(time_map_mutex_);
  return time_map_;
}

bool ViewerEngine::SeekTime(uint32_t time) {
  const auto map = GetTimeMap();
  if (mode_ != kPlayerMode || !reader_.IsOpen() || !map || !media::SpanAtOrAfter(*map, time)) return false;
  seek_time_ = time;
  // The state the player is in, or will be in once it takes the command given last (a pause
  // given just before is obeyed); a seek not yet done keeps what it would have resumed.
  const int pending = CommandPending() ? StateForCommand(command_, state_) : state_.load();
  if (pending != kSeeking) seek_resume_state_ = pending == kForward || pending == kBackward ? pending : kPaused;
  return Command(kCommandSeekTime);
}

PlaybackCounters ViewerEngine::Counters() const {
  std::lock_guard lock(counters_mutex_);
  return counters_;
}

void ViewerEngine::Run() {
  if (mode_ == kPlayerMode) {
    PlaybackLoop();
  } else {
    LiveLoop();
  }
}

}  // namespace dvr::engine

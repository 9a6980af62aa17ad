// The live path over loopback: a simulated DVR sends pictures (640 x 224, full ones by default) at a
// fixed rate to the network client and the engine's live loop, which decodes and shows every
// one. Reports, for a ladder of rates, how many pictures were shown and lost, and at a low rate
// the latency from the moment a picture is complete on the socket (the next picture's start code
// has been sent) to ShowPicture.
//   bench_live [--seconds S] [--cameras N] [--full-every F]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "dvr_simulator.h"
#include "engine/viewer_engine.h"
#include "live_source.h"
#include "platform/clock.h"
#include "platform/notices.h"

namespace {

using Clock = std::chrono::steady_clock;

// Shows nothing; notes when each picture reached it.
class TimingPresenter final : public dvr::display::Presenter {
 public:
  std::vector<Clock::time_point> shown;

 protected:
  Size CanvasSize() const override { return {640, 448}; }
  void DrawPicture(Surface, const dvr::display::Rect&, const uint8_t*, int, int) override { shown.push_back(Clock::now()); }
  void FillBlack(Surface, const dvr::display::Rect&) override {}
  void DrawLabel(Surface, const std::string&, int, int, const dvr::display::LabelSettings&) override {}
  void Present() override {}
};

struct Session {
  uint64_t sent = 0, shown = 0, lost = 0;
  size_t backlog = 0;       // most pictures queued at once while the simulator sent
  double catch_up_ms = 0;   // from the last picture sent until the queue was empty
  std::vector<double> latencies_ms;
};

Session RunSession(dvr::sim::LiveSource& source, double rate, double seconds, bool timing,
                   dvr::platform::ThreadPriority sim_priority) {
  dvr::platform::StderrNotices notices;
  TimingPresenter presenter;
  dvr::engine::ViewerEngine engine(presenter, nullptr, notices, dvr::platform::SystemClock());
  engine.Setup(4, dvr::audio::kALaw, 4, dvr::audio::kSampleRate, 4);
  engine.SetMode(dvr::engine::kNetworkMode, 0xFFFFFFFF);
  presenter.shown.reserve(static_cast<size_t>(rate * seconds) + 64);

  dvr::sim::DvrSimOptions options;
  options.password = "bench";
  options.fps = rate;
  options.video_limit = static_cast<uint64_t>(rate * seconds);
  options.priority = sim_priority;
  dvr::sim::DvrSimulator dvr(options, source);
  std::vector<Clock::time_point> sent(options.video_limit);
  dvr.SetSentSink([&](uint64_t picture, Clock::time_point when) { sent[picture] = when; });
  std::string error;
  if (!dvr.Start(error)) {
    std::fprintf(stderr, "bench_live: %s\n", error.c_str());
    std::exit(1);
  }
  engine.ConnectDirect("127.0.0.1", dvr.Port(), "bench");
  Session session;
  const auto end = Clock::now() + std::chrono::duration<double>(seconds + 3);
  while (Clock::now() < end && dvr.Counters().video_frames < options.video_limit) {
    session.backlog = std::max(session.backlog, engine.Network().VideoQueue().Count());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  // What the queue holds is shown late, not lost: wait for the live loop to catch up.
  const auto sent_all = Clock::now();
  for (uint64_t shown = 0; Clock::now() < sent_all + std::chrono::seconds(10);) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the last pictures on their way
    const uint64_t now_shown = engine.Counters().shown[0];
    if (now_shown == shown && engine.Network().VideoQueue().Count() == 0) break;
    shown = now_shown;
  }
  session.catch_up_ms = std::chrono::duration<double, std::milli>(Clock::now() - sent_all).count() - 100;
  engine.Disconnect();
  dvr.Stop();

  session.sent = dvr.Counters().video_frames;
  session.shown = engine.Counters().shown[0];
  session.lost = engine.Network().VideoQueue().Lost();
  if (timing) {
    // Picture k is complete on the socket once picture k + 1 (its start code first) has been sent.
    for (size_t k = 0; k + 1 < presenter.shown.size() && k + 1 < sent.size(); ++k) {
      session.latencies_ms.push_back(std::chrono::duration<double, std::milli>(presenter.shown[k] - sent[k + 1]).count());
    }
  }
  return session;
}

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, static_cast<size_t>(p * static_cast<double>(values.size())))];
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 3;
  int cameras = 1, full_every = 1;
  auto sim_priority = dvr::platform::ThreadPriority::kNormal;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::atof(argv[i + 1]);
    if (std::strcmp(argv[i], "--cameras") == 0) cameras = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--full-every") == 0) full_every = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--sim-priority") == 0 && std::strcmp(argv[i + 1], "idle") == 0) {
      sim_priority = dvr::platform::ThreadPriority::kIdle;
    }
  }
  // Thirty distinct pictures, sent round and round: no encoding on the simulator's side.
  dvr::sim::SyntheticLiveSource camera(cameras, 30, false, 4, full_every);
  dvr::sim::LoopedLiveSource source(camera, 30, true);
  uint64_t bytes = 0;
  dvr::sim::LiveUnit unit;
  for (int i = 0; i < 30; ++i) {
    source.Next(unit);
    bytes += unit.bytes.size();
  }
  std::printf("pictures: 640x224, %d camera(s), a full picture every %d, %.0f bytes each on average\n", cameras,
              full_every, static_cast<double>(bytes) / 30);

  double best_lossless = 0;
  for (double rate : {2400.0, 4800.0, 7200.0, 9600.0, 14400.0}) {
    const Session s = RunSession(source, rate, seconds, false, sim_priority);
    // The last picture sent ends only when another begins: one short is everything.
    const bool lossless = s.lost == 0 && s.shown + 1 >= s.sent;
    if (lossless) best_lossless = rate;
    std::printf("offered %6.0f pictures/s for %.0f s: sent %7llu, shown %7llu, lost in the queue %6llu, "
                "backlog up to %5zu, caught up %5.0f ms after  %s\n",
                rate, seconds, static_cast<unsigned long long>(s.sent), static_cast<unsigned long long>(s.shown),
                static_cast<unsigned long long>(s.lost), s.backlog, s.catch_up_ms, lossless ? "lossless" : "LOSS");
    if (!lossless) break;
  }
  const dvr::net::NetClient client(dvr::platform::SystemClock());
  std::printf("highest lossless rate: %.0f pictures/s (a 16-channel DVR sends 480); the video queue holds %zu "
              "pictures in %zu MiB\n",
              best_lossless, client.VideoQueue().SlotTotal(), client.VideoQueue().StorageBytes() >> 20);

  const Session timed = RunSession(source, 100, seconds, true, sim_priority);
  std::printf("latency at 100 pictures/s, %zu pictures: median %.3f ms, 99th percentile %.3f ms, max %.3f ms\n",
              timed.latencies_ms.size(), Percentile(timed.latencies_ms, 0.5), Percentile(timed.latencies_ms, 0.99),
              Percentile(timed.latencies_ms, 1.0));
  return 0;
}

// The client against a simulated DVR and DDNS service over real TCP on 127.0.0.1.
#include "net/net_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

#include "ddns_simulator.h"
#include "dvr_simulator.h"
#include "live_source.h"
#include "net/protocol.h"
#include "net/remote_control.h"
#include "platform/clock.h"
#include "platform/socket.h"
#include "support/wait_for.h"

namespace dvr::net {
namespace {

using Ms = std::chrono::milliseconds;
using test::WaitFor;

class Events final : public NetListener {
 public:
  void OnStatusReport() override { ++reports; }
  void OnDisconnected() override { ++disconnects; }
  void OnLoginFailed() override { ++login_failures; }
  void OnConnectionStatus(int status) override {
    std::lock_guard lock(mutex_);
    statuses_.push_back(status);
  }
  std::vector<int> Statuses() const {
    std::lock_guard lock(mutex_);
    return statuses_;
  }
  std::atomic<int> reports{0}, disconnects{0}, login_failures{0};

 private:
  mutable std::mutex mutex_;
  std::vector<int> statuses_;
};

bool Contains(const std::vector<std::string>& log, const std::string& line) {
  return std::find(log.begin(), log.end(), line) != log.end();
}

class NetClientTest : public ::testing::Test {
 protected:
  // Starts a simulated DVR streaming four synthetic cameras.
  sim::DvrSimulator& StartDvr(sim::DvrSimOptions options) {
    options.password = options.password.empty() ? "secret" : options.password;
    dvr_ = std::make_unique<sim::DvrSimulator>(options, source_);
    std::string error;
    EXPECT_TRUE(dvr_->Start(error)) << error;
    return *dvr_;
  }
  void Connect(const std::string& password = "secret", uint32_t timeout_ms = 2000) {
    client_.SetListener(&events_);
    client_.SetTimeout(timeout_ms);
    client_.SetDirect("127.0.0.1", dvr_->Port(), password);
    ASSERT_TRUE(client_.Start());
  }
  // Takes every queued video frame.
  std::vector<std::vector<uint8_t>> TakeVideo() {
    std::vector<std::vector<uint8_t>> frames;
    media::MediaFrame frame(kVideoBufferBytes);
    while (client_.VideoQueue().Take(frame)) frames.emplace_back(frame.payload.begin(), frame.payload.begin() + frame.length);
    return frames;
  }
  bool Ended() { return WaitFor([&] { return !client_.HasThread(); }); }

  sim::SyntheticLiveSource source_{4, 30, false, 4};
  std::unique_ptr<sim::DvrSimulator> dvr_;
  Events events_;
  NetClient client_{platform::SystemClock()};
};

TEST_F(NetClientTest, LogsInAfterPendingRepliesAndReceivesTheStream) {
  sim::DvrSimOptions options;
  options.pending_replies = 2;
  options.fps = 100;
  StartDvr(options);
  Connect();
  ASSERT_TRUE(WaitFor([&] { return client_.LoggedIn(); }));
  EXPECT_EQ(client_.Status(), kLoggedIn);
  ASSERT_TRUE(WaitFor([&] { return client_.Traffic().video_frames >= 5 && client_.Traffic().audio_frames >= 2; }));
  const auto frames = TakeVideo();
  ASSERT_FALSE(frames.empty());
  EXPECT_EQ(frames[0][3], 0xF8);
  EXPECT_EQ(frames[0][4] & 0x80, 0x80);  // the first picture is a full one
  client_.Stop();
  EXPECT_EQ(client_.Status(), kIdle);
  EXPECT_EQ(events_.Statuses(), (std::vector<int>{kConnecting, kLoggingIn, kLoggedIn, kIdle}));
  EXPECT_TRUE(WaitFor([&] { return Contains(dvr_->Log(), "logout"); }));
  EXPECT_EQ(events_.login_failures, 0);
}

TEST_F(NetClientTest, RepliesAndTheFirstFrameInOneReadLoseNothing) {
  sim::DvrSimOptions options;
  options.pending_replies = 1;
  options.replies_together = true;
  options.fps = 100;
  StartDvr(options);
  Connect();
  ASSERT_TRUE(WaitFor([&] { return client_.Traffic().video_frames >= 3; }));
  const auto frames = TakeVideo();
  // Frame counter 0: the picture that came in the same read as the accept was kept.
  EXPECT_EQ(frames[0][5], 0);
  EXPECT_EQ(frames[0][6], 0);
  EXPECT_EQ(frames[1][6], 1);
}

TEST_F(NetClientTest, RepliesAreSixteenBytesWhateverTheirLengthFieldSays) {
  sim::DvrSimOptions options;
  options.pending_replies = 1;
  options.replies_together = true;
  options.reply_length_field = 12;
  options.fps = 100;
  StartDvr(options);
  Connect();
  ASSERT_TRUE(WaitFor([&] { return client_.Traffic().video_frames >= 2; }));
  EXPECT_EQ(TakeVideo()[0][6], 0);  // the picture that came with the accept was kept
  client_.Stop();

  options.refuse_reason = 2;
  StartDvr(options);
  Connect();
  ASSERT_TRUE(Ended());
  EXPECT_EQ(client_.LastError(), "Incorrect password.");
  EXPECT_EQ(events_.login_failures, 1);
}

TEST_F(NetClientTest, RefusalsEndTheSessionWithTheirTexts) {
  const std::vector<std::pair<int, std::string>> cases = {
      {1, "Too many client."}, {2, "Incorrect password."}, {3, "Bad network"}, {7, "Unkown error."}};
  for (uint16_t code : {2, 4}) {
    for (const auto& [reason, text] : cases) {
      sim::DvrSimOptions options;
      options.refuse_reason = reason;
      options.refuse_code = code;
      StartDvr(options);
      events_.login_failures = 0;
      Connect();
      ASSERT_TRUE(Ended());
      EXPECT_EQ(client_.LastError(), text);
      EXPECT_EQ(events_.login_failures, 1);
      EXPECT_EQ(client_.Status(), kIdle);
      EXPECT_FALSE(client_.LoggedIn());
      client_.Stop();
    }
  }
  // And a wrong password.
  StartDvr({});
  Connect("guess");
  ASSERT_TRUE(Ended());
  EXPECT_EQ(client_.LastError(), "Incorrect password.");
}

TEST_F(NetClientTest, ADvrThatNeverAnswersTimesOut) {
  sim::DvrSimOptions options;
  options.never_answer = true;
  StartDvr(options);
  const auto begun = std::chrono::steady_clock::now();
  Connect("secret", 400);
  ASSERT_TRUE(Ended());
  EXPECT_GE(std::chrono::steady_clock::now() - begun, Ms(400));
  EXPECT_EQ(client_.LastError(), "No response from server.");
  EXPECT_EQ(events_.login_failures, 1);
}

TEST_F(NetClientTest, AnUnreachablePortFailsTheLogin) {
  platform::TcpListener listener;
  std::string error;
  ASSERT_TRUE(listener.Listen(0, error));
  const uint16_t port = listener.Port();
  listener.Close();  // nobody listens there now
  client_.SetListener(&events_);
  client_.SetDirect("127.0.0.1", port, "secret");
  ASSERT_TRUE(client_.Start());
  ASSERT_TRUE(Ended());
  EXPECT_EQ(events_.login_failures, 1);
  EXPECT_FALSE(client_.LastError().empty());
  EXPECT_EQ(client_.Status(), kIdle);
}

TEST_F(NetClientTest, TooLongPasswordOrNameIsRefusedBeforeConnecting) {
  client_.SetDirect("127.0.0.1", 1, std::string(32, 'x'));
  EXPECT_FALSE(client_.Start());
  EXPECT_EQ(client_.LastError(), "The password is longer than 31 bytes.");
  client_.SetDdns("127.0.0.1", 1, "ninechars", "x");
  EXPECT_FALSE(client_.Start());
  EXPECT_EQ(client_.LastError(), "The DVR name is longer than 8 bytes.");
  EXPECT_FALSE(client_.HasThread());
}

TEST_F(NetClientTest, DdnsLookUpThenLogin) {
  StartDvr({});
  sim::DdnsSimOptions ddns_options;
  ddns_options.name = "cam1";
  ddns_options.dvr_port = dvr_->Port();
  sim::DdnsSimulator ddns(ddns_options);
  std::string error;
  ASSERT_TRUE(ddns.Start(error)) << error;
  client_.SetListener(&events_);
  client_.SetDdns("127.0.0.1", ddns.Port(), "cam1", "secret");
  ASSERT_TRUE(client_.Start());
  ASSERT_TRUE(WaitFor([&] { return client_.LoggedIn(); }));
  EXPECT_EQ(events_.Statuses(),
            (std::vector<int>{kDdnsConnecting, kDdnsQuerying, kDdnsDone, kConnecting, kLoggingIn, kLoggedIn}));
  EXPECT_EQ(ddns.Log(), std::vector<std::string>{"ddns cam1"});
}

TEST_F(NetClientTest, ADdnsReplyWithAnotherMagicOrAnUnknownNameFails) {
  for (const std::string name : {"cam1", "cam2"}) {
    sim::DdnsSimOptions ddns_options;
    ddns_options.name = "cam1";
    ddns_options.wrong_magic = name == "cam1";
    sim::DdnsSimulator ddns(ddns_options);
    std::string error;
    ASSERT_TRUE(ddns.Start(error)) << error;
    events_.login_failures = 0;
    client_.SetListener(&events_);
    client_.SetDdns("127.0.0.1", ddns.Port(), name, "secret");
    ASSERT_TRUE(client_.Start());
    ASSERT_TRUE(Ended());
    EXPECT_EQ(client_.LastError(), "DDNS LOGIN ERROR");
    EXPECT_EQ(events_.login_failures, 1);
    EXPECT_EQ(client_.Status(), kIdle);
    client_.Stop();
  }
}

TEST_F(NetClientTest, SilenceReconnectsWithoutANotice) {
  sim::DvrSimOptions options;
  options.silent_after_ms = 200;
  options.silent_for_ms = 5000;
  StartDvr(options);
  Connect("secret", 500);
  ASSERT_TRUE(WaitFor([&] { return dvr_->Counters().logins >= 2; }, 8000));
  ASSERT_TRUE(WaitFor([&] { return client_.LoggedIn(); }));
  EXPECT_EQ(events_.login_failures, 0);
  EXPECT_EQ(events_.disconnects, 0);
  const auto statuses = events_.Statuses();
  EXPECT_EQ(std::count(statuses.begin(), statuses.end(), kIdle), 0);  // 3 back through 1 and 2 to 3
  EXPECT_GE(std::count(statuses.begin(), statuses.end(), kLoggedIn), 2);
}

TEST_F(NetClientTest, DisconnectNoticeAndStatusReportsReachTheListener) {
  sim::DvrSimOptions options;
  options.fps = 100;
  options.status_every = 0.05;
  options.disconnect_after_ms = 400;
  StartDvr(options);
  Connect();
  ASSERT_TRUE(WaitFor([&] { return events_.disconnects == 1; }));
  EXPECT_GE(events_.reports, 2);
  const auto values = client_.StatusValues();
  EXPECT_EQ(values[0], 1);
  EXPECT_EQ(values[3], 4);
}

TEST_F(NetClientTest, KeysAndMouseAsTheDvrReceivesThem) {
  StartDvr({});
  display::MouseRecorder mouse;
  client_.SetMouseSource(&mouse, kMouseShownCursor);
  EXPECT_FALSE(client_.SendKey(11));  // not logged in: nothing goes out
  Connect();
  ASSERT_TRUE(WaitFor([&] { return client_.LoggedIn(); }));
  EXPECT_TRUE(client_.SendKey(11));
  EXPECT_TRUE(client_.SendKey(300));
  // A second of moving over the picture, then a double-click.
  const auto begun = std::chrono::steady_clock::now();
  for (int i = 0; i < 100; ++i) {
    mouse.Move(i, 2 * i, 640, 448, 0);
    std::this_thread::sleep_for(Ms(10));
  }
  const auto moved_ms = std::chrono::duration_cast<Ms>(std::chrono::steady_clock::now() - begun).count();
  std::this_thread::sleep_for(Ms(300));
  mouse.LeftDoubleClick(5, 6, 640, 448);
  ASSERT_TRUE(WaitFor([&] { return Contains(dvr_->Log(), "mouse 259 640 448 5 6"); }));
  const auto log = dvr_->Log();
  EXPECT_TRUE(Contains(log, "key 11"));
  EXPECT_TRUE(Contains(log, "key 44"));
  const auto mouse_packets = std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.rfind("mouse ", 0) == 0; });
  // At most one every 250 ms, the first at once.
  EXPECT_LE(mouse_packets, moved_ms / 250 + 3);
  EXPECT_GE(mouse_packets, 3);
}

// Waits until no key has gone out for a while: the buffers on the way to a DVR that reads nothing
// are full, and a key waits for room.
bool KeysStalled(const std::atomic<uint64_t>& sent) {
  return WaitFor([&] {
    const uint64_t before = sent.load();
    std::this_thread::sleep_for(Ms(100));
    return before > 0 && sent.load() == before;
  }, 30000);
}

// A DVR that stops reading: a key that cannot go out within the time-out drops the connection,
// which the client logs into again; Stop returns at once whatever waits to go out.
TEST_F(NetClientTest, ADvrThatStopsReadingCostsASendItsTimeOutAndStopNothing) {
  sim::DvrSimOptions options;
  options.stop_reading = true;
  StartDvr(options);
  Connect("secret", 300);
  ASSERT_TRUE(WaitFor([&] { return client_.LoggedIn(); }));
  std::atomic<uint64_t> sent{0};
  std::atomic<bool> refused{false};
  const auto send_keys = [&] {
    while (client_.SendKey(11)) ++sent;
    refused = true;
  };
  std::thread keys(send_keys);
  bool ended = WaitFor([&] { return refused.load(); }, 20000);
  if (!ended) dvr_->Stop();  // a send waiting without end fails once the DVR has gone
  keys.join();
  ASSERT_TRUE(ended);
  EXPECT_TRUE(WaitFor([&] { return dvr_->Counters().logins == 2 && client_.LoggedIn(); }));

  // A key waits for room, longer than Stop may take; nor can the logout go out.
  client_.SetTimeout(60000);
  sent = 0;
  refused = false;
  keys = std::thread(send_keys);
  EXPECT_TRUE(KeysStalled(sent));
  std::atomic<bool> stopped{false};
  std::thread stopper([&] {
    client_.Stop();
    stopped = true;
  });
  ended = WaitFor([&] { return stopped && refused; }, 3000);
  if (!ended) dvr_->Stop();
  stopper.join();
  keys.join();
  EXPECT_TRUE(ended);
  EXPECT_EQ(events_.login_failures, 0);
}

// Waits until the client's worker has gone round its loop, which looks at the mouse first, since
// the call: two reads of the stream later.
bool WentRound(const NetClient& client) {
  for (int read = 0; read < 2; ++read) {
    const uint64_t bytes = client.BytesReceived();
    if (!WaitFor([&] { return client.BytesReceived() > bytes; })) return false;
  }
  return true;
}

// The tick wraps every 49.7 days: mouse input goes out, at most every 250 ms, at any tick.
TEST_F(NetClientTest, MousePacingHoldsAtAnyTick) {
  sim::DvrSimOptions options;
  options.fps = 200;
  StartDvr(options);
  int y = 0;  // tells the sessions apart in the DVR's log
  const auto logged = [&](int x) {
    return Contains(dvr_->Log(), "mouse 0 640 448 " + std::to_string(x) + " " + std::to_string(y));
  };
  for (const uint32_t start : {0x7FFFF000u, 0x80000000u, 0xFFFFF000u}) {
    SCOPED_TRACE(start);
    ++y;
    platform::ManualClock clock(start);
    display::MouseRecorder mouse;
    NetClient client(clock);
    client.SetMouseSource(&mouse, kMouseHiddenCursor);
    client.SetDirect("127.0.0.1", dvr_->Port(), "secret");
    ASSERT_TRUE(client.Start());
    ASSERT_TRUE(WaitFor([&] { return client.LoggedIn(); }));
    // Five seconds in steps of 250 ms, across 2^31 or 2^32 for the first and the last start.
    mouse.Move(0, y, 640, 448, 0);
    for (int step = 0; step < 20; ++step) {
      ASSERT_TRUE(WaitFor([&] { return logged(step); })) << step;
      mouse.Move(300 + step, y, 640, 448, 0);  // not due yet: held, then replaced
      ASSERT_TRUE(WentRound(client));
      clock.Advance(249);
      ASSERT_TRUE(WentRound(client));
      mouse.Move(step + 1, y, 640, 448, 0);
      clock.Advance(1);
    }
    client.Stop();
    for (int step = 0; step < 20; ++step) EXPECT_FALSE(logged(300 + step)) << step;
  }
}

TEST_F(NetClientTest, StopDuringTheLoginWaitReturnsSoonAndSendsNoLogout) {
  sim::DvrSimOptions options;
  options.never_answer = true;
  StartDvr(options);
  Connect("secret", 30000);
  ASSERT_TRUE(WaitFor([&] { return client_.Status() == kLoggingIn; }));
  const auto begun = std::chrono::steady_clock::now();
  client_.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - begun, Ms(5000));
  EXPECT_EQ(events_.login_failures, 0);  // the user ended it: no failure to report
  ASSERT_TRUE(WaitFor([&] { return Contains(dvr_->Log(), "closed"); }));
  EXPECT_FALSE(Contains(dvr_->Log(), "logout"));
}

TEST_F(NetClientTest, SplitWritesAndReportsInsidePicturesDeliverEveryFrameWhole) {
  sim::DvrSimOptions options;
  options.fps = 200;
  options.split_writes = true;
  options.status_every = 0.02;
  options.video_limit = 12;  // the queue holds 16
  StartDvr(options);
  Connect();
  // The twelfth picture ends only when a thirteenth begins.
  ASSERT_TRUE(WaitFor([&] { return client_.Traffic().video_frames >= 11; }));
  const auto frames = TakeVideo();
  sim::SyntheticLiveSource reference(4, 30, false, 4);  // as the fixture's source
  sim::LiveUnit unit;
  size_t k = 0;
  while (k < frames.size() && reference.Next(unit)) {
    if (!unit.is_video) continue;
    ASSERT_EQ(frames[k], unit.bytes) << "picture " << k;
    ++k;
  }
  EXPECT_EQ(k, 11u);
  EXPECT_GT(dvr_->Counters().status_reports, 0u);
}

// A DVR that accepts the login and then closes the connection: the client logs in again after
// a second, not after the silence time-out.
TEST_F(NetClientTest, AClosedConnectionIsLoggedIntoAgainAtOnce) {
  platform::TcpListener listener;
  std::string error;
  ASSERT_TRUE(listener.Listen(0, error));
  const auto read_login = [](platform::TcpSocket& socket) {
    uint8_t login[kLoginPacketBytes];
    size_t got = 0;
    while (got < sizeof login && socket.WaitReadable(2000000) > 0) {
      const long n = socket.Receive(login + got, sizeof login - got);
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    return got == sizeof login;
  };
  client_.SetListener(&events_);
  client_.SetTimeout(20000);
  client_.SetDirect("127.0.0.1", listener.Port(), "secret");
  ASSERT_TRUE(client_.Start());
  platform::TcpSocket first = listener.Accept(5000);
  ASSERT_TRUE(first.IsOpen());
  ASSERT_TRUE(read_login(first));
  const std::string accept = ControlPacket(kLoginReplyAccepted, {0});
  ASSERT_TRUE(first.Send(accept.data(), accept.size(), [] { return false; }, error));  // room enough
  ASSERT_TRUE(WaitFor([&] { return client_.LoggedIn(); }));
  const auto closed = std::chrono::steady_clock::now();
  first.Close();
  platform::TcpSocket second = listener.Accept(5000);
  ASSERT_TRUE(second.IsOpen());
  EXPECT_LT(std::chrono::steady_clock::now() - closed, Ms(5000));  // the time-out is 20 s
  EXPECT_TRUE(read_login(second));
  EXPECT_EQ(events_.login_failures, 0);
}

}  // namespace
}  // namespace dvr::net

// Finding the moment in the window: the timeline strip over a recording with a gap, a click on
// it, going to a time, the marks, and the export of the marked span to NDF and to AVI with its
// evidence files, each read back on its own.
#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <filesystem>

#include "app/command_ids.h"
#include "app/timeline_strip.h"
#include "main_window_fixture.h"
#include "media/ndf_time.h"
#include "media/recording_reader.h"
#include "platform/local_time.h"
#include "support/encoded_recording.h"
#include "support/media_probe.h"
#include "support/ndf_builder.h"

namespace dvr::app {
namespace {

using test::MainWindowTest;

constexpr uint32_t kFirst = 1700000000;
constexpr uint32_t kGap = 3600;
constexpr uint32_t kBlocksPerSecond = 8;

uint32_t FieldOf(const media::FrameTime& time) {
  return media::ToTimeField(time, platform::StandardBiasSeconds()).value_or(0);
}

uint32_t FieldOf(const QString& text) {
  const auto time = media::ParseFrameTime(text.toStdString());
  return time ? FieldOf(*time) : 0;
}

// The times of a recording's pictures, read frame by frame.
std::vector<uint32_t> PictureTimes(const std::string& path) {
  platform::StderrNotices notices;
  media::RecordingReader reader(notices);
  EXPECT_TRUE(reader.Open(path, false));
  media::MediaFrame frame(media::kFrameCapacity);
  std::vector<uint32_t> times;
  while ((frame.length = reader.NextFrame(frame.payload)) != 0) {
    reader.DescribeFrame(frame);
    if (!frame.is_audio) times.push_back(FieldOf(reader.BlockTime()));
  }
  return times;
}

class TimeNavigationTest : public MainWindowTest {
 protected:
  // One camera, five pictures a second: eight blocks a recorded second, and an hour's gap after
  // the first half.
  void SetUp() override {
    test::EncodedRecording recording;
    for (int i = 0; i < 240; ++i) recording.Video(0, i * 0.2);
    std::vector<uint8_t> image = recording.Build(kFirst);
    blocks_ = image.size() / media::kBlockSize;
    for (size_t i = 0; i < blocks_; ++i) {
      const uint32_t time = kFirst + static_cast<uint32_t>(i / kBlocksPerSecond) + (i >= blocks_ / 2 ? kGap : 0);
      test::RestampBlock(image, i, time);
    }
    first_end_ = kFirst + static_cast<uint32_t>((blocks_ / 2 - 1) / kBlocksPerSecond);
    second_start_ = kFirst + kGap + static_cast<uint32_t>(blocks_ / 2 / kBlocksPerSecond);
    path_ = dir_.Write("gap.NDF", image);
  }

  MainWindow& OpenMapped() {
    MainWindow& window = StartWindow({path_});
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.Navigation().MapReady(); }, 20000));
    return window;
  }

  // Paused on the first picture at or after `time`, through the "Go to time..." command.
  void GoTo(MainWindow& window, uint32_t time) {
    window.RunCommand(kCmdPause);
    window.Navigation().Questions().go_to_time = [time](QWidget*, uint32_t, uint32_t, uint32_t) {
      return std::optional<uint32_t>(time);
    };
    window.RunCommand(kCmdGoToTime);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          const auto now = window.Navigation().TimeNow();
          return window.Engine().State() == engine::kPaused && now && *now >= time && *now <= time + 1;
        },
        20000));
  }

  void MarkSpan(MainWindow& window, uint32_t in, uint32_t out) {
    GoTo(window, in);
    window.RunCommand(kCmdMarkIn);
    GoTo(window, out);
    window.RunCommand(kCmdMarkOut);
    ASSERT_TRUE(window.Navigation().SpanMarked());
  }

  // The evidence beside `output`: its JSON, after checking that its SHA-256 is the file's.
  QJsonObject Evidence(const std::string& output) {
    QFile file(QString::fromStdString(output));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QString sha = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
    QFile sum(QString::fromStdString(output + ".sha256"));
    EXPECT_TRUE(sum.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(sum.readAll()),
              sha + "  " + QString::fromStdString(std::filesystem::path(output).filename().string()) + "\n");
    QFile json(QString::fromStdString(output + ".json"));
    EXPECT_TRUE(json.open(QIODevice::ReadOnly));
    const QJsonObject facts = QJsonDocument::fromJson(json.readAll()).object();
    EXPECT_EQ(facts["sha256"].toString(), sha);
    EXPECT_EQ(facts["source"].toString().toStdString(), std::filesystem::absolute(path_).string());
    EXPECT_EQ(facts["source_size"].toInteger(), static_cast<qint64>(blocks_ * media::kBlockSize));
    return facts;
  }

  std::string path_;
  size_t blocks_ = 0;
  uint32_t first_end_ = 0, second_start_ = 0;
};

TEST_F(TimeNavigationTest, TheStripShowsBothSpansAndAClickGoesToTheTimeUnderIt) {
  MainWindow& window = OpenMapped();
  ASSERT_EQ(window.Navigation().Map()->spans.size(), 2u);
  TimelineStrip* strip = window.Navigation().Strip();
  ASSERT_TRUE(strip->isVisible());
  // Under the picture, which gave it its height.
  EXPECT_EQ(strip->height(), TimelineStrip::kHeight);
  EXPECT_EQ(window.Display().geometry().bottom() + 1, strip->geometry().top());

  const QImage image = strip->grab().toImage();
  const int y = strip->height() / 2;
  const QColor span_colour(0x2f, 0x7d, 0xd1);
  const auto colour_at = [&](uint32_t time) {
    return image.pixelColor(strip->View().XForTime(time) * image.width() / strip->width(), y);
  };
  EXPECT_EQ(colour_at((kFirst + first_end_) / 2), span_colour);
  EXPECT_EQ(colour_at(second_start_ + 10), span_colour);
  EXPECT_NE(colour_at(first_end_ + kGap / 2), span_colour);  // the gap
  image.save(QString::fromStdString(dir_.File("strip.png")));

  window.RunCommand(kCmdPause);
  const uint32_t target = second_start_ + 20;
  const int x = strip->View().XForTime(target);
  const uint32_t under = strip->View().TimeAtX(x);
  QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(x, strip->height() / 2));
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        const auto now = window.Navigation().TimeNow();
        return now && *now >= under && *now <= under + 1;
      },
      5000));
  EXPECT_EQ(window.Engine().State(), engine::kPaused);  // it was paused, and stays so
}

TEST_F(TimeNavigationTest, AMarkedSpanGoesToNdfWithItsEvidence) {
  MainWindow& window = OpenMapped();
  MarkSpan(window, second_start_ + 5, second_start_ + 12);
  const uint32_t in = *window.Navigation().MarkInTime(), out = *window.Navigation().MarkOutTime();
  const std::string output = dir_.File("span.NDF");
  window.Navigation().Questions().span_file = [&](QWidget*, const QString& suggested) {
    EXPECT_TRUE(suggested.endsWith(".avi"));
    return QString::fromStdString(output);
  };
  window.RunCommand(kCmdExportSpan);
  ASSERT_TRUE(QTest::qWaitFor([&] { return NoticeContains(".json"); }, 10000));

  const std::vector<uint32_t> times = PictureTimes(output);
  ASSERT_FALSE(times.empty());
  const uint32_t first = times.front(), last = times.back();
  EXPECT_LE(first > in ? first - in : in - first, 1u);
  EXPECT_LE(last > out ? last - out : out - last, 1u);
  const QJsonObject facts = Evidence(output);
  EXPECT_EQ(FieldOf(facts["first_picture"].toString()), first);
  EXPECT_EQ(FieldOf(facts["last_picture"].toString()), last);
  EXPECT_EQ(facts["video_channels"].toArray(), QJsonArray({1}));
  const auto first_byte = static_cast<uint64_t>(facts["first_byte"].toInteger());
  const auto last_byte = static_cast<uint64_t>(facts["last_byte"].toInteger());
  EXPECT_EQ(first_byte % media::kBlockSize, 0u);
  EXPECT_EQ(last_byte - first_byte + 1, std::filesystem::file_size(output));
}

TEST_F(TimeNavigationTest, AMarkedSpanGoesToAviThroughTheExportAndStopsAtTheMarkOut) {
  MainWindow& window = OpenMapped();
  MarkSpan(window, kFirst + 10, kFirst + 16);
  const uint32_t in = *window.Navigation().MarkInTime(), out = *window.Navigation().MarkOutTime();
  const std::string output = dir_.File("span.avi");
  window.Navigation().Questions().span_file = [&](QWidget*, const QString&) {
    return QString::fromStdString(output);
  };
  window.Questions().encoder = [](QWidget*) {
    exporting::VideoEncoderChoice choice;
    choice.codec = "mjpeg";
    return choice;
  };
  window.RunCommand(kCmdExportSpan);
  ASSERT_TRUE(QTest::qWaitFor([&] { return NoticeContains(".json"); }, 20000));
  EXPECT_FALSE(window.Exporting());
  EXPECT_EQ(window.Engine().State(), engine::kPaused);

  const QJsonObject facts = Evidence(output);
  const uint32_t first = FieldOf(facts["first_picture"].toString());
  const uint32_t last = FieldOf(facts["last_picture"].toString());
  EXPECT_LE(first - in, 1u);
  EXPECT_LE(out - last, 1u);
  EXPECT_LE(last, out);  // nothing after the mark out
  const test::ProbedFile probed = test::ProbeFile(output);
  ASSERT_TRUE(probed.ok);
  ASSERT_NE(probed.Video(), nullptr);
  // Every picture of the source from the one at the mark in to the last before the mark out:
  // those of the seconds between, and some of the first and last second's (times are seconds).
  const std::vector<uint32_t> source = PictureTimes(path_);
  const auto in_seconds = [&](uint32_t from, uint32_t to) {
    return std::count_if(source.begin(), source.end(), [&](uint32_t t) { return t >= from && t <= to; });
  };
  EXPECT_GE(probed.Video()->frames, in_seconds(first + 1, last - 1) + 2);
  EXPECT_LE(probed.Video()->frames, in_seconds(first, last));

  // The player can go on from there: the stop time is gone with the export.
  window.RunCommand(kCmdPlay);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Navigation().TimeNow().value_or(0) > out + 2; }, 10000));
}

// A disk that has wrapped: its newer half first. A span from the older half into the newer one is
// not in one piece and is refused before anything is written.
TEST_F(TimeNavigationTest, ASpanAcrossTheWritePointIsRefused) {
  std::vector<uint8_t> image = test::ReadFileBytes(path_);
  for (size_t i = 0; i < blocks_; ++i) {
    const uint32_t when = static_cast<uint32_t>(i < blocks_ / 2 ? i + blocks_ : i) / kBlocksPerSecond;
    test::RestampBlock(image, i, kFirst + when);
  }
  path_ = dir_.Write("wrapped.NDF", image);
  MainWindow& window = OpenMapped();
  ASSERT_EQ(window.Navigation().Map()->spans.size(), 2u);
  const uint32_t oldest = window.Navigation().Map()->spans[0].start_time;
  const uint32_t newest = window.Navigation().Map()->spans[1].end_time;
  MarkSpan(window, oldest + 5, newest - 5);
  bool asked = false;
  window.Navigation().Questions().span_file = [&](QWidget*, const QString&) {
    asked = true;
    return QString::fromStdString(dir_.File("span.NDF"));
  };
  window.RunCommand(kCmdExportSpan);
  EXPECT_TRUE(NoticeContains("last written over"));
  EXPECT_FALSE(asked);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("span.NDF")));
}

TEST_F(TimeNavigationTest, MarksAndSpanCommandsFollowTheSource) {
  MainWindow& window = OpenMapped();
  EXPECT_TRUE(window.Action(kCmdGoToTime)->isEnabled());
  EXPECT_FALSE(window.Action(kCmdExportSpan)->isEnabled());  // no marks yet
  bool asked = false;
  window.Navigation().Questions().go_to_time = [&](QWidget*, uint32_t first, uint32_t last, uint32_t) {
    asked = true;
    EXPECT_EQ(first, kFirst);
    EXPECT_EQ(last, kFirst + kGap + (blocks_ - 1) / kBlocksPerSecond);
    return std::optional<uint32_t>();
  };
  QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier);
  EXPECT_TRUE(asked);
  MarkSpan(window, kFirst + 3, kFirst + 6);
  window.RunCommand(kCmdPause);
  QTest::qWait(300);  // a status tick
  EXPECT_TRUE(window.Action(kCmdExportSpan)->isEnabled());
  // A mark out before the mark in takes its place and drops the mark in; the O key marks it.
  GoTo(window, kFirst + 1);
  QTest::keyClick(&window, Qt::Key_O);
  EXPECT_EQ(window.Navigation().MarkOutTime(), window.Navigation().TimeNow());
  EXPECT_FALSE(window.Navigation().MarkInTime());
  EXPECT_FALSE(window.Navigation().SpanMarked());

  // Another source: a new map, no marks, and nothing from the first one's map.
  test::EncodedRecording other;
  for (int i = 0; i < 20; ++i) other.Video(0, i * 0.2);
  ASSERT_TRUE(window.OpenRecording(dir_.Write("other.NDF", other.Build(kFirst + 100000)), false));
  EXPECT_FALSE(window.Navigation().MarkOutTime());
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Navigation().MapReady(); }, 10000));
  EXPECT_EQ(window.Navigation().Map()->spans.size(), 1u);
  EXPECT_EQ(window.Navigation().Map()->spans[0].start_time, kFirst + 100000);

  window.RunCommand(kCmdCloseFile);
  EXPECT_FALSE(window.Navigation().Strip()->isVisible());
  EXPECT_FALSE(window.Navigation().MapReady());
  EXPECT_FALSE(window.Action(kCmdGoToTime)->isEnabled());
}

}  // namespace
}  // namespace dvr::app

// dvr-viewer [FILE]: opens the recording and plays it in the video window. The options beyond
// the file run the viewer unattended, for demonstrations and the benchmark.
#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

#include "app/viewer_window.h"

namespace {

struct Options {
  QString file;
  double seconds = 0;  // 0: until the window is closed
  double speed = 1;
  int split = 4;
  bool software = false;
  bool silent = false;
  bool stats = false;
  QString screenshot;
};

Options ParseOptions(const QApplication& application) {
  QCommandLineParser parser;
  parser.setApplicationDescription("Plays a DVR recording in the video window.");
  parser.addHelpOption();
  parser.addPositionalArgument("file", "the recording to open (NDF)", "[FILE]");
  const QCommandLineOption seconds("seconds", "quit after this many seconds", "seconds");
  const QCommandLineOption speed("speed", "play at 1, 2, 4 or 8 (paced), 16 or 32 (skipping)",
                                 "speed", "1");
  const QCommandLineOption split("split", "tiles on the screen: 1, 4, 9 or 16", "split", "4");
  const QCommandLineOption software("software", "draw with the software path (\"Use DDraw\" off)");
  const QCommandLineOption silent("silent", "play without sound");
  const QCommandLineOption stats("stats", "print what was drawn as one JSON line at the end");
  const QCommandLineOption screenshot("screenshot",
                                      "save what the window shows as PNG before quitting", "png");
  parser.addOptions({seconds, speed, split, software, silent, stats, screenshot});
  parser.process(application);
  Options options;
  if (!parser.positionalArguments().isEmpty()) options.file = parser.positionalArguments().first();
  options.seconds = parser.value(seconds).toDouble();
  options.speed = parser.value(speed).toDouble();
  options.split = parser.value(split).toInt();
  options.software = parser.isSet(software);
  options.silent = parser.isSet(silent);
  options.stats = parser.isSet(stats);
  options.screenshot = parser.value(screenshot);
  return options;
}

void StartPlaying(dvr::engine::ViewerEngine& engine, double speed) {
  if (speed <= 8) {
    engine.PlayForward(speed);
    return;
  }
  // Fast play doubles from 8 each time it is asked for, once the worker plays forward.
  auto* timer = new QTimer(QApplication::instance());
  QObject::connect(timer, &QTimer::timeout, [&engine, speed, timer] {
    if (engine.Speed() >= speed) return timer->deleteLater();
    engine.FastForward();
  });
  timer->start(20);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("dvr-viewer");
  const Options options = ParseOptions(application);

  dvr::app::ViewerWindow window(!options.silent);
  if (options.software) window.Engine().SetUseDirectDraw(false);
  window.show();
  window.Engine().SetSplit(options.split, 0);
  if (!options.file.isEmpty() && window.Open(options.file.toStdString()))
    StartPlaying(window.Engine(), options.speed);

  QElapsedTimer clock;
  clock.start();
  if (options.seconds > 0)
    QTimer::singleShot(static_cast<int>(options.seconds * 1000), &window, [&] { window.close(); });
  // Before the window goes: what it shows and what it drew.
  QObject::connect(&application, &QApplication::lastWindowClosed, [&] {
    dvr::display::DisplayWindow& display = window.Display();
    if (!options.screenshot.isEmpty() && !display.Still().save(options.screenshot, "PNG")) {
      std::fprintf(stderr, "dvr-viewer: cannot save %s\n", qPrintable(options.screenshot));
    }
    if (options.stats) {
      std::printf(
          "{\"seconds\":%.3f,\"opengl\":%s,\"presents\":%llu,\"repaints\":%llu,\"last_error\":\"%"
          "s\"}\n",
          static_cast<double>(clock.elapsed()) / 1000.0, display.OpenGlActive() ? "true" : "false",
          static_cast<unsigned long long>(display.PresentCount()),
          static_cast<unsigned long long>(display.RepaintCount()), display.LastError().c_str());
      std::fflush(stdout);
    }
  });
  return QApplication::exec();
}

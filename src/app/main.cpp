// dvr-viewer [FILE | /IP:address /PORT:port]: the viewer's window, with a recording opened or a
// session with a DVR started from the command line. The options beyond those run the viewer
// unattended, for demonstrations and the benchmark.
#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QLocale>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <optional>

#include "app/command_line.h"
#include "app/language.h"
#include "app/main_window.h"
#include "platform/version.h"

namespace {

struct Options {
  QStringList words;  // a recording, or "/IP:" and "/PORT:"
  double seconds = 0;  // 0: until the window is closed
  double speed = 1;
  int split = 0;       // 0: the window's own
  bool software = false;
  bool silent = false;
  bool stats = false;
  bool until_first_picture = false;
  QString screenshot;
  QString window_shot;
  QString settings;
  std::optional<QString> language;  // --lang; the system's when not given
};

Options ParseOptions(const QApplication& application) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "The DVR-K470 Viewer: plays NDF recordings and DVR disks, and shows a DVR's live picture.");
  parser.addHelpOption();
  parser.addVersionOption();  // listed in the help; answered in main before Qt starts
  parser.addPositionalArgument("file", "the recording to open (NDF), or /IP:address /PORT:port "
                                       "to log into a DVR at start",
                               "[FILE | /IP:address /PORT:port]");
  const QCommandLineOption seconds("seconds", "quit after this many seconds", "seconds");
  const QCommandLineOption speed("speed", "play at 1, 2, 4 or 8 (paced), 16 or 32 (skipping)",
                                 "speed", "1");
  const QCommandLineOption split("split", "tiles on the screen: 1, 4, 9 or 16", "split", "0");
  const QCommandLineOption software("software", "draw with the software path (\"Use DDraw\" off)");
  const QCommandLineOption silent("silent", "play without sound");
  const QCommandLineOption stats("stats", "print what was drawn as one JSON line at the end");
  const QCommandLineOption first("until-first-picture",
                                 "quit as soon as the first picture is on the screen");
  const QCommandLineOption screenshot("screenshot",
                                      "save what the video window shows as PNG before quitting",
                                      "png");
  const QCommandLineOption window_shot("window-shot",
                                       "save the whole window as PNG before quitting", "png");
  const QCommandLineOption settings("settings", "the settings file to use instead of the user's",
                                    "ini");
  const QCommandLineOption language(
      "lang", "the window's language: en or ja (default: the system's)", "language");
  parser.addOptions({seconds, speed, split, software, silent, stats, first, screenshot, window_shot,
                     settings, language});
  parser.process(application);
  Options options;
  options.words = parser.positionalArguments();
  options.seconds = parser.value(seconds).toDouble();
  options.speed = parser.value(speed).toDouble();
  options.split = parser.value(split).toInt();
  options.software = parser.isSet(software);
  options.silent = parser.isSet(silent);
  options.stats = parser.isSet(stats);
  options.until_first_picture = parser.isSet(first);
  options.screenshot = parser.value(screenshot);
  options.window_shot = parser.value(window_shot);
  options.settings = parser.value(settings);
  if (parser.isSet(language)) options.language = parser.value(language);
  return options;
}

void StartPlaying(dvr::engine::ViewerEngine& engine, double speed) {
  if (speed == 1) return;  // the window plays at 1 after opening
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
  if (dvr::app::AsksForVersion(std::vector<std::string>(argv + 1, argv + argc))) {
    std::printf("dvr-viewer %s\n", dvr::platform::kProgramVersion);
    return 0;
  }
  QElapsedTimer clock;
  clock.start();
  QApplication application(argc, argv);
  QApplication::setApplicationName("dvr-viewer");
  QApplication::setApplicationVersion(dvr::platform::kProgramVersion);
  const Options options = ParseOptions(application);
  const std::optional<QString> language =
      dvr::app::ChooseLanguage(options.language, QLocale::system().name());
  if (!language) {
    std::fprintf(stderr, "dvr-viewer: unknown language \"%s\" for --lang (en or ja)\n",
                 qPrintable(*options.language));
    return 2;
  }
  const dvr::app::Translations translations(*language);

  dvr::app::MainWindow::Options window_options;
  window_options.sound = !options.silent;
  window_options.settings_path = options.settings.toStdString();
  dvr::app::MainWindow window(window_options);
  std::vector<std::string> words;
  for (const QString& word : options.words) words.push_back(word.toStdString());
  // Initialised before it is shown, as a dialog is: a window that never had an OpenGL child keeps
  // Qt's plain raster composition, which the software path needs to be cheap.
  window.Start(dvr::app::ParseCommandLine(words));
  if (options.software) window.Engine().SetUseDirectDraw(false);
  if (options.split > 0) window.Engine().SetSplit(options.split, 0);
  window.show();
  if (window.Engine().IsOpen()) StartPlaying(window.Engine(), options.speed);

  // The end of an unattended run: the whole window as the screen shows it (so that the OpenGL
  // path's picture is in it too), then the close a person would do.
  const auto finish = [&] {
    if (!options.window_shot.isEmpty()) {
      const QPixmap shot = window.screen()->grabWindow(window.winId());
      if (!shot.save(options.window_shot, "PNG")) {
        std::fprintf(stderr, "dvr-viewer: cannot save %s\n", qPrintable(options.window_shot));
      }
    }
    window.close();
  };
  if (options.seconds > 0)
    QTimer::singleShot(static_cast<int>(options.seconds * 1000), &window, finish);
  qint64 first_picture_ms = -1;
  if (options.until_first_picture) {
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, [&, poll] {
      if (window.Display().PresentCount() == 0) return;
      first_picture_ms = clock.elapsed();
      poll->stop();
      finish();
    });
    poll->start(1);
  }
  // Before the window goes: what it shows and what it drew.
  QObject::connect(&application, &QApplication::lastWindowClosed, [&] {
    dvr::display::DisplayWindow& display = window.Display();
    if (!options.screenshot.isEmpty() && !display.Still().save(options.screenshot, "PNG")) {
      std::fprintf(stderr, "dvr-viewer: cannot save %s\n", qPrintable(options.screenshot));
    }
    if (options.stats) {
      std::printf(
          "{\"seconds\":%.3f,\"first_picture_ms\":%lld,\"opengl\":%s,\"presents\":%llu,"
          "\"repaints\":%llu,\"last_error\":\"%s\"}\n",
          static_cast<double>(clock.elapsed()) / 1000.0, static_cast<long long>(first_picture_ms),
          display.OpenGlActive() ? "true" : "false",
          static_cast<unsigned long long>(display.PresentCount()),
          static_cast<unsigned long long>(display.RepaintCount()), display.LastError().c_str());
      std::fflush(stdout);
    }
  });
  return QApplication::exec();
}

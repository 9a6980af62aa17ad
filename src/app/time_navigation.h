#pragma once
// Finding the moment in the player: the recorded-time map of the open source, built in the
// background after every open; the timeline strip that shows it; going to a time; the marks in
// and out; and the export of the marked span to AVI (played through the window's export) or to
// NDF (a copy of its blocks), each followed by its evidence files.
//
// Threads: everything here runs on the window thread, except the jobs, which post back to it.
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/background_job.h"
#include "engine/viewer_engine.h"
#include "export/evidence.h"
#include "media/time_map.h"
#include "platform/notices.h"

class QWidget;

namespace dvr::app {

class TimelineStrip;

// The questions the span commands ask, replaceable so that a test answers them.
struct SpanQuestions {
  // A time field between `first` and `last`, starting at `now`; nothing: cancelled.
  std::function<std::optional<uint32_t>(QWidget* parent, uint32_t first, uint32_t last, uint32_t now)> go_to_time;
  // Where to export the span: a name ending in .avi or .ndf (either case); empty: cancelled.
  std::function<QString(QWidget* parent, const QString& suggested)> span_file;
};

// What the window lends for an AVI export: start one into a file (false: not started, the
// reason already shown) and stop it.
struct AviExportHooks {
  std::function<bool(const QString& path)> start;
  std::function<void()> stop;
};

class TimeNavigation final : public QObject {
  Q_OBJECT

 public:
  TimeNavigation(QWidget* window, engine::ViewerEngine& engine, platform::Notices& notices,
                 AviExportHooks avi);
  ~TimeNavigation() override;

  SpanQuestions& Questions() { return questions_; }
  TimelineStrip* Strip() const { return strip_; }

  // A source was opened (the map is built anew) or closed.
  void SourceOpened(const std::string& path, bool is_disk);
  void SourceClosed();
  // The window's status tick: the strip's position, and the span export's progress.
  void Tick();

  void GoToTimeCommand();
  void MarkIn();
  void MarkOut();
  void ExportSpanCommand();

  // The map is final: refined as far as it goes (the strip shows a coarse one before).
  bool MapReady() const { return map_ != nullptr && map_final_; }
  std::shared_ptr<const media::TimeMap> Map() const { return map_; }
  std::optional<uint32_t> MarkInTime() const { return mark_in_; }
  std::optional<uint32_t> MarkOutTime() const { return mark_out_; }
  bool SpanMarked() const { return mark_in_ && mark_out_ && *mark_in_ <= *mark_out_; }
  // A span export (either kind) is under way.
  bool ExportingSpan() const { return avi_phase_ != AviPhase::kIdle || copy_job_.Busy(); }
  // The AVI span export ended here (the window's export stopped by someone else).
  void AviExportEnded();
  // The time field of the picture shown now.
  std::optional<uint32_t> TimeNow() const;

 signals:
  // The map, its marks or an export changed what the commands may do.
  void StateChanged();

 private:
  void MapBuilt(uint64_t generation, std::shared_ptr<const media::TimeMap> map, bool final);
  void GoTo(uint32_t time);
  void StartAviSpan(const QString& path);
  // One step of the AVI span export, at each poll: pause, start the export, go to the mark in,
  // play to the mark out, finish.
  void AviSpanStep();
  void FinishAviSpan();
  void StartNdfSpan(const QString& path);
  // Hashes `output` and writes its evidence in the background, with the source's bytes of the
  // pictures between `times` (the first and last exported); says how it went.
  void WriteEvidenceLater(const QString& output, exporting::EvidenceFacts facts,
                          std::optional<std::pair<uint32_t, uint32_t>> times);
  void ShowSpanMarks();

  QWidget* window_;
  engine::ViewerEngine& engine_;
  platform::Notices& notices_;
  AviExportHooks avi_;
  SpanQuestions questions_;
  TimelineStrip* strip_;

  std::string path_;
  bool is_disk_ = false;
  uint64_t generation_ = 0;  // of the source open now: posts for an earlier one are dropped
  BackgroundJob map_job_{this};
  BackgroundJob copy_job_{this};
  std::shared_ptr<const media::TimeMap> map_;
  bool map_final_ = false;
  std::optional<uint32_t> mark_in_, mark_out_;

  enum class AviPhase { kIdle, kSeeking, kPlaying };
  AviPhase avi_phase_ = AviPhase::kIdle;
  bool avi_started_ = false;  // the window's export was started for the span
  QTimer avi_poll_;
  QString avi_path_;
  std::pair<uint32_t, uint32_t> avi_span_;  // the marks it was started with
};

// The first and last recorded times of a map, when it recorded anything.
std::optional<std::pair<uint32_t, uint32_t>> RecordedRange(const media::TimeMap& map);

}  // namespace dvr::app

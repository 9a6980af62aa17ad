#include "app/time_navigation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QWidget>

#include <filesystem>

#include "app/timeline_strip.h"
#include "media/ndf_format.h"
#include "media/ndf_time.h"
#include "media/recording_reader.h"
#include "media/variant.h"
#include "platform/local_time.h"

namespace dvr::app {
namespace {

constexpr int kMapSteps = 100;             // progress is shown in whole percents
constexpr uint64_t kRefineBudget = 4000;   // block reads per refinement round
constexpr int kAviPollMs = 40;


std::optional<uint32_t> FieldOf(const media::FrameTime& time) {
  return media::ToTimeField(time, platform::StandardBiasSeconds());
}

QString TimeText(uint32_t field) {
  return QString::fromStdString(
      media::FormatFrameTime(media::ConvertTime(field, platform::StandardBiasSeconds())));
}

// An export of that name starts afresh: evidence left from an earlier one must not stand beside it.
void RemoveEvidenceOf(const std::string& output) {
  std::error_code ignored;
  std::filesystem::remove(output + ".sha256", ignored);
  std::filesystem::remove(output + ".json", ignored);
}

// A reader's messages, kept for the one report the job makes.
class KeptNotices final : public platform::Notices {
 public:
  void Show(std::string_view text) override { text_ = std::string(text); }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// Whether the times [in, out] lie in the source in one piece: not across the point where a disk
// that has wrapped was last written (its newest span lies before its oldest).
bool InOnePiece(const media::TimeMap& map, uint32_t in, uint32_t out) {
  const media::RecordedSpan* first = media::SpanAtOrAfter(map, in);
  const media::RecordedSpan* last = nullptr;
  for (const media::RecordedSpan& span : map.spans) {
    if (span.start_time <= out) last = &span;
  }
  return first && last && last->first_block >= first->first_block;
}

}  // namespace

std::optional<std::pair<uint32_t, uint32_t>> RecordedRange(const media::TimeMap& map) {
  if (map.spans.empty()) return std::nullopt;
  uint32_t last = map.spans.front().end_time;
  for (const media::RecordedSpan& span : map.spans) last = std::max(last, span.end_time);
  return std::pair{map.spans.front().start_time, last};
}

TimeNavigation::TimeNavigation(QWidget* window, engine::ViewerEngine& engine,
                               platform::Notices& notices, AviExportHooks avi)
    : window_(window),
      engine_(engine),
      notices_(notices),
      avi_(std::move(avi)),
      strip_(new TimelineStrip(window)) {
  strip_->hide();
  connect(strip_, &TimelineStrip::TimeClicked, this, [this](uint32_t time) { GoTo(time); });
  connect(&avi_poll_, &QTimer::timeout, this, [this] { AviSpanStep(); });
}

TimeNavigation::~TimeNavigation() {
  map_job_.Cancel();
  copy_job_.Cancel();
}

// --- The map ---

void TimeNavigation::SourceOpened(const std::string& path, bool is_disk) {
  SourceClosed();
  path_ = path;
  is_disk_ = is_disk;
  const uint64_t generation = generation_;
  strip_->SetProgress(0);
  const int variant = engine_.Variant();
  map_job_.Start([this, path, is_disk, generation, variant](const std::atomic<bool>& cancel) {
    media::BlockSource source;
    if (!source.Open(path, is_disk)) {
      map_job_.Post([this, generation] { MapBuilt(generation, std::make_shared<media::TimeMap>(), true); });
      return;
    }
    const bool big_endian = variant == media::kBigEndianVariant;
    media::TimeMapLimits limits;
    limits.cancel = &cancel;
    limits.variant = variant;
    int shown = -1;
    limits.progress = [this, generation, &shown](uint64_t done, uint64_t total) {
      const int percent = total == 0 ? 0 : static_cast<int>(done * kMapSteps / total);
      if (percent == shown) return;
      shown = percent;
      map_job_.Post([this, generation, percent] {
        if (generation == generation_ && !map_) strip_->SetProgress(percent);
      });
    };
    // The coarse map is shown at once; its edges are then found exactly, round by round. Only
    // the final map is gone to and exported from: a coarse one has edges in the wrong places.
    const auto post = [this, generation](const media::TimeMap& map, bool final) {
      map_job_.Post([this, generation, final, copy = std::make_shared<const media::TimeMap>(map)] {
        MapBuilt(generation, copy, final);
      });
    };
    media::TimeMap map = media::BuildTimeMap(source, big_endian, limits);
    limits.progress = nullptr;
    limits.read_budget = kRefineBudget;
    if (!map.complete) {
      post(map, false);
      media::RefineTimeMapFully(source, big_endian, map, limits,
                                [&](const media::TimeMap& round) { post(round, false); });
    }
    post(map, true);
  });
}

void TimeNavigation::MapBuilt(uint64_t generation, std::shared_ptr<const media::TimeMap> map, bool final) {
  if (generation != generation_) return;  // for a source closed since
  map_ = std::move(map);
  map_final_ = final;
  if (final) engine_.SetTimeMap(map_);
  strip_->SetMap(map_);
  emit StateChanged();
}

void TimeNavigation::SourceClosed() {
  if (avi_phase_ != AviPhase::kIdle) FinishAviSpan();
  ++generation_;
  map_job_.Cancel();
  map_.reset();
  map_final_ = false;
  mark_in_.reset();
  mark_out_.reset();
  strip_->SetMap(nullptr);
  strip_->SetMarks({}, {});
  strip_->SetPosition({});
  path_.clear();
  emit StateChanged();
}

std::optional<uint32_t> TimeNavigation::TimeNow() const {
  media::FrameTime now;
  if (!engine_.CurrentTime(now)) return std::nullopt;
  return FieldOf(now);
}

void TimeNavigation::Tick() {
  strip_->SetPosition(TimeNow());
}

// --- Going to a time, marks ---

void TimeNavigation::GoTo(uint32_t time) {
  // The span export decides where the player is; a map still being refined is not gone by.
  if (avi_phase_ != AviPhase::kIdle || !MapReady()) return;
  if (!engine_.SeekTime(time)) {
    notices_.Show(tr("Nothing was recorded at %1 or later.").arg(TimeText(time)).toStdString());
  }
}

void TimeNavigation::GoToTimeCommand() {
  if (!MapReady()) return;
  const auto range = RecordedRange(*map_);
  if (!range) {
    notices_.Show(tr("No recorded time was found in this source.").toStdString());
    return;
  }
  const uint32_t now = TimeNow().value_or(range->first);
  if (const auto time = questions_.go_to_time(window_, range->first, range->second, now)) GoTo(*time);
}

void TimeNavigation::MarkIn() {
  const auto now = TimeNow();
  if (!now) return;
  mark_in_ = now;
  if (mark_out_ && *mark_out_ < *now) mark_out_.reset();
  ShowSpanMarks();
}

void TimeNavigation::MarkOut() {
  const auto now = TimeNow();
  if (!now) return;
  mark_out_ = now;
  if (mark_in_ && *mark_in_ > *now) mark_in_.reset();
  ShowSpanMarks();
}

void TimeNavigation::ShowSpanMarks() {
  strip_->SetMarks(mark_in_, mark_out_);
  emit StateChanged();
}

// --- Export of the marked span ---

void TimeNavigation::ExportSpanCommand() {
  if (!SpanMarked() || !MapReady() || ExportingSpan()) return;
  if (!InOnePiece(*map_, *mark_in_, *mark_out_)) {
    notices_.Show(tr("The marked span runs across the point where the disk was last written over. "
                     "Export the part before it and the part after it one by one.")
                      .toStdString());
    return;
  }
  const QString suggested =
      "SPAN-" + TimeText(*mark_in_).remove('-').remove(':').replace(' ', '-') + ".avi";
  QString path = questions_.span_file(window_, suggested);
  if (path.isEmpty()) return;
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == "ndf") {
    StartNdfSpan(path);
    return;
  }
  if (suffix != "avi") path += ".avi";
  StartAviSpan(path);
}

void TimeNavigation::StartNdfSpan(const QString& path) {
  const uint32_t in = *mark_in_, out = *mark_out_;
  const std::string source_path = path_, output = path.toStdString();
  const bool is_disk = is_disk_;
  const auto map = map_;
  const int variant = engine_.Variant();
  RemoveEvidenceOf(output);
  copy_job_.Start([=, this](const std::atomic<bool>& cancel) {
    media::BlockSource blocks;
    std::optional<std::pair<uint64_t, uint64_t>> range;
    const bool big_endian = variant == media::kBigEndianVariant;
    if (blocks.Open(source_path, is_disk)) range = media::BlocksInTime(blocks, big_endian, *map, in, out);
    QString result;
    if (!range) {
      result = tr("No recorded block lies between %1 and %2 in one piece.")
                   .arg(TimeText(in), TimeText(out));
    } else {
      KeptNotices notices;
      media::RecordingReader reader(notices);
      reader.SetVariant(variant);
      const uint64_t from = range->first * media::kBlockSize;
      const bool opened = reader.Open(source_path, is_disk);
      const uint64_t to = std::min(range->second * media::kBlockSize, reader.Size()) - 1;
      if (!opened || !reader.ExportRange(from, to, output, &cancel)) {
        result = tr("Cannot copy the span into %1: it could not be read to its end, is more than 1 GiB, "
                    "is the source itself, or the folder is not writable.")
                     .arg(QString::fromStdString(output));
        if (!notices.Text().empty()) result += ' ' + QString::fromStdString(notices.Text());
      } else {
        exporting::EvidenceFacts facts;
        facts.source_path = source_path;
        facts.source_size = reader.Size();
        facts.first_byte = from;
        facts.last_byte = to;
        std::string error;
        if (!exporting::ReadRecordingFacts(output, variant, facts)) {
          result = tr("The span copied into %1 holds no picture.").arg(QString::fromStdString(output));
        } else if (!exporting::WriteEvidence(output, facts, error, &cancel)) {
          result = QString::fromStdString(error);
        } else {
          result = tr("The span is in %1, with its evidence in %1.sha256 and %1.json.")
                       .arg(QString::fromStdString(output));
        }
      }
    }
    copy_job_.Post([this, result] {
      notices_.Show(result.toStdString());
      emit StateChanged();
    });
  });
  emit StateChanged();
}

void TimeNavigation::StartAviSpan(const QString& path) {
  // Paused first, so that nothing before the mark goes into the export; then the export starts,
  // the player goes to the mark (its picture is the first exported) and plays to the other mark.
  engine_.Pause();
  avi_path_ = path;
  avi_span_ = {*mark_in_, *mark_out_};
  avi_phase_ = AviPhase::kSeeking;
  avi_started_ = false;
  RemoveEvidenceOf(path.toStdString());
  avi_poll_.start(kAviPollMs);
  emit StateChanged();
}

void TimeNavigation::AviSpanStep() {
  if (avi_phase_ == AviPhase::kIdle) {
    avi_poll_.stop();
    return;
  }
  const bool paused = !engine_.CommandPending() && engine_.State() == engine::kPaused;
  if (!paused) return;
  if (!avi_started_) {
    avi_started_ = true;
    avi_poll_.stop();  // the compressor's question runs an event loop: no step meanwhile
    const bool started = avi_.start(avi_path_);
    if (!started || avi_phase_ == AviPhase::kIdle || !engine_.SeekTime(avi_span_.first)) {
      avi_phase_ = AviPhase::kIdle;  // cancelled, the writer said why, or the source went
      avi_.stop();
      emit StateChanged();
      return;
    }
    avi_poll_.start(kAviPollMs);
  } else if (avi_phase_ == AviPhase::kSeeking) {
    avi_phase_ = AviPhase::kPlaying;  // the seek to the mark is done
    engine_.SetStopTime(avi_span_.second);
    engine_.PlayForward(1.0);
  } else {
    FinishAviSpan();  // at the mark out, or at the end of the source before it
  }
}

void TimeNavigation::AviExportEnded() {
  if (avi_phase_ != AviPhase::kIdle) FinishAviSpan();
}

void TimeNavigation::FinishAviSpan() {
  const bool exported = avi_phase_ != AviPhase::kIdle && avi_started_;
  // Stopped at the mark out, the player shows nothing more: the pictures composed since the last
  // frame was taken go in as the export's last frame (the worker would take it only with a
  // later picture).
  if (avi_phase_ == AviPhase::kPlaying && !engine_.CommandPending() && engine_.State() == engine::kPaused) {
    engine_.Display().FlushExportFrame();
  }
  avi_phase_ = AviPhase::kIdle;
  avi_poll_.stop();
  engine_.SetStopTime(std::nullopt);
  engine_.Pause();
  avi_.stop();  // the window's export, when it still runs
  if (!exported) {
    emit StateChanged();
    return;
  }
  const engine::PlaybackCounters counters = engine_.Counters();
  exporting::EvidenceFacts facts;
  facts.source_path = path_;
  facts.source_size = engine_.Size();
  facts.video_channels = counters.exported_channels;
  std::optional<std::pair<uint32_t, uint32_t>> exported_times;
  if (counters.first_exported.year != 0) {
    facts.first_picture = counters.first_exported;
    facts.last_picture = counters.last_exported;
    const auto first = FieldOf(counters.first_exported), last = FieldOf(counters.last_exported);
    if (first && last) exported_times = {*first, *last};
  }
  WriteEvidenceLater(avi_path_, facts, exported_times);
  emit StateChanged();
}

void TimeNavigation::WriteEvidenceLater(const QString& output, exporting::EvidenceFacts facts,
                                        std::optional<std::pair<uint32_t, uint32_t>> times) {
  const auto map = map_;
  const bool is_disk = is_disk_;
  const bool big_endian = engine_.Variant() == media::kBigEndianVariant;
  const uint32_t marked_out = avi_span_.second;
  copy_job_.Start([=, this](const std::atomic<bool>& cancel) mutable {
    // The source's bytes are those of the pictures exported, which may stop short of the marks
    // (the export stopped by hand, or the source ended first).
    facts.byte_range_known = false;
    media::BlockSource blocks;
    if (times && map && blocks.Open(facts.source_path, is_disk)) {
      if (const auto range = media::BlocksInTime(blocks, big_endian, *map, times->first, times->second)) {
        facts.first_byte = range->first * media::kBlockSize;
        facts.last_byte = std::min(range->second * media::kBlockSize, facts.source_size) - 1;
        facts.byte_range_known = true;
      }
    }
    std::string error;
    QString result = exporting::WriteEvidence(output.toStdString(), facts, error, &cancel)
                         ? tr("The span is in %1, with its evidence in %1.sha256 and %1.json.").arg(output)
                         : QString::fromStdString(error);
    if (!times) {
      result += ' ' + tr("No picture went into it.");
    } else if (times->second + 1 < marked_out) {
      result += ' ' + tr("It ends at %1, before the mark out.").arg(TimeText(times->second));
    }
    copy_job_.Post([this, result] {
      notices_.Show(result.toStdString());
      emit StateChanged();
    });
  });
}

}  // namespace dvr::app

#include "button_strips.h"

#include "canvas.h"
#include "device_glyphs.h"
#include "key_glyphs.h"
#include "screen_glyphs.h"
#include "transport_glyphs.h"

namespace dvr::skin {
namespace {

constexpr FaceKind kPlayer = FaceKind::kPlayer;
constexpr FaceKind kRemote = FaceKind::kRemote;

constexpr ButtonArt kButtons[] = {
    // The local player.
    {"open", kButtonFrame, kPlayer, OpenFolderGlyph},
    {"fast-backward", kButtonFrame, kPlayer, [] { return Mirrored(FastForwardGlyph()); }},
    {"backward", kButtonFrame, kPlayer, [] { return Mirrored(PlayGlyph()); }},
    {"step-backward", kButtonFrame, kPlayer, [] { return Mirrored(StepForwardGlyph()); }},
    {"pause", kButtonFrame, kPlayer, PauseGlyph},
    {"step-forward", kButtonFrame, kPlayer, StepForwardGlyph},
    {"play", kButtonFrame, kPlayer, PlayGlyph},
    {"fast-forward", kButtonFrame, kPlayer, FastForwardGlyph},
    {"still", kButtonFrame, kPlayer, StillCameraGlyph},
    {"single", kButtonFrame, kPlayer, [] { return TilesGlyph(1); }},
    {"split4", kButtonFrame, kPlayer, [] { return TilesGlyph(2); }},
    {"split9", kButtonFrame, kPlayer, [] { return TilesGlyph(3); }},
    {"split16", kButtonFrame, kPlayer, [] { return TilesGlyph(4); }},
    {"mute", kButtonFrame, kPlayer, SpeakerGlyph, Ink::kGlyph, MutedSpeakerGlyph},
    {"connect", kButtonFrame, kPlayer, LinkGlyph},
    {"disconnect", kButtonFrame, kPlayer, BrokenLinkGlyph},
    {"player", kButtonFrame, kPlayer, FilmStripGlyph},
    {"network", kButtonFrame, kPlayer, AntennaGlyph},
    // The recorder's remote-control keys.
    {"dvr-pause", kButtonFrame, kRemote, PauseGlyph},
    {"dvr-rewind", kButtonFrame, kRemote, [] { return Mirrored(FastForwardGlyph()); }},
    {"dvr-play", kButtonFrame, kRemote, PlayGlyph},
    {"dvr-forward", kButtonFrame, kRemote, FastForwardGlyph},
    {"dvr-stop", kButtonFrame, kRemote, StopGlyph},
    {"dvr-record", kButtonFrame, kRemote, RecordGlyph, Ink::kRecord},
    {"camera1", kButtonFrame, kRemote, [] { return CameraBadgeGlyph(1); }},
    {"camera2", kButtonFrame, kRemote, [] { return CameraBadgeGlyph(2); }},
    {"camera3", kButtonFrame, kRemote, [] { return CameraBadgeGlyph(3); }},
    {"camera4", kButtonFrame, kRemote, [] { return CameraBadgeGlyph(4); }},
    {"dvr-split", kButtonFrame, kRemote, QuadScreenGlyph},
    {"dvr-menu", kButtonFrame, kRemote, MenuGlyph},
    {"dvr-up", kButtonFrame, kRemote, ChevronUpGlyph},
    {"dvr-down", kButtonFrame, kRemote, [] { return Flipped(ChevronUpGlyph()); }},
    {"dvr-select", kButtonFrame, kRemote, EnterGlyph},
    // The title bar.
    {"minimize", kTitleButtonFrame, FaceKind::kTitle, MinimizeGlyph},
    {"close", kTitleButtonFrame, FaceKind::kClose, CloseGlyph},
};

}  // namespace

std::span<const ButtonArt> GlyphButtons() {
  return kButtons;
}

QImage DrawButtonStrip(const ButtonArt& art, int scale) {
  return Paint(
      StripSize(art.frame), scale, Qt::transparent, Edges::kSmooth, [&](QPainter& painter) {
        for (Frame state : kStripFrames) {
          const QRectF frame = FrameRect(art.frame, state);
          DrawFace(painter, frame, art.face, state);
          const bool checked_look = state == Frame::kPressed && art.checked_glyph != nullptr;
          const Glyph glyph = checked_look ? art.checked_glyph() : art.glyph();
          FillGlyph(painter, glyph, GlyphCentre(frame, art.face, state),
                    InkColour(art.ink, art.face, state));
        }
      });
}

}  // namespace dvr::skin

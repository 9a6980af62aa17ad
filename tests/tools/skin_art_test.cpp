// The skin's bitmaps as the widgets will use them: sizes at both scales, the frames of the button
// strips, the parts the window and the sliders stretch, the status sprite's exact colours, the
// resource file that compiles them in, and draw_skin run as a program.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <ostream>

#include "border.h"
#include "button_strips.h"
#include "export_buttons.h"
#include "palette.h"
#include "skin_images.h"
#include "sliders.h"
#include "status_sprite.h"

// Readable failure messages for Qt values.
void PrintTo(const QSize& size, std::ostream* out) {
  *out << size.width() << " x " << size.height();
}
void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace dvr::skin {
namespace {

// The names in `a` that are not in `b`, sorted, for a readable failure.
QString Missing(const QSet<QString>& a, const QSet<QString>& b) {
  QStringList missing = (a - b).values();
  missing.sort();
  return missing.join(' ');
}

// Every image, drawn once per scale for all tests.
const std::map<std::pair<QString, int>, QImage>& Drawn() {
  static const auto drawn = [] {
    std::map<std::pair<QString, int>, QImage> images;
    for (const SkinImage& image : SkinImages()) {
      for (int scale : kScales) images[{image.name, scale}] = image.draw(scale);
    }
    return images;
  }();
  return drawn;
}

const QImage& Image(const QString& name, int scale) {
  return Drawn().at({name, scale});
}

bool ColumnsEqual(const QImage& image, int a, int b) {
  for (int y = 0; y < image.height(); ++y) {
    if (image.pixel(a, y) != image.pixel(b, y)) return false;
  }
  return true;
}

bool RowsEqual(const QImage& image, int a, int b) {
  for (int x = 0; x < image.width(); ++x) {
    if (image.pixel(x, a) != image.pixel(x, b)) return false;
  }
  return true;
}

// The piece of the sprite at logical (x, y, width, 16), at `scale`.
QImage SpritePiece(int scale, int x, int y, int width) {
  return Image("status", scale).copy(x * scale, y * scale, width * scale, kStatusRow * scale);
}

bool AllBlack(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xffffff) != 0) return false;
    }
  }
  return true;
}

TEST(SkinImages, EveryNameTheViewerAsksForIsDrawnOnceAtTwiceTheSizeToo) {
  const QStringList wanted = {"border",
                              "open",
                              "fast-backward",
                              "backward",
                              "step-backward",
                              "pause",
                              "step-forward",
                              "play",
                              "fast-forward",
                              "still",
                              "single",
                              "split4",
                              "split9",
                              "split16",
                              "mute",
                              "connect",
                              "disconnect",
                              "dvr-pause",
                              "dvr-rewind",
                              "dvr-play",
                              "dvr-forward",
                              "dvr-stop",
                              "dvr-record",
                              "camera1",
                              "camera2",
                              "camera3",
                              "camera4",
                              "dvr-split",
                              "dvr-menu",
                              "dvr-up",
                              "dvr-down",
                              "dvr-select",
                              "player",
                              "network",
                              "minimize",
                              "close",
                              "export",
                              "stop-export",
                              "position-channel",
                              "position-channel-active",
                              "position-thumb",
                              "position-thumb-active",
                              "volume-channel",
                              "volume-channel-active",
                              "volume-thumb",
                              "volume-thumb-active",
                              "status",
                              "icon-16",
                              "icon-24",
                              "icon-32",
                              "icon-48",
                              "icon-64",
                              "icon-128",
                              "icon-256"};
  QSet<QString> names;
  for (const SkinImage& image : SkinImages()) {
    EXPECT_FALSE(names.contains(image.name)) << "drawn twice: " << image.name.toStdString();
    names.insert(image.name);
    for (int scale : kScales) {
      EXPECT_EQ(Image(image.name, scale).size(), image.size * scale)
          << image.name.toStdString() << " at " << scale << "x";
    }
  }
  const QSet<QString> wanted_set(wanted.begin(), wanted.end());
  EXPECT_EQ(Missing(wanted_set, names), "");
  EXPECT_EQ(Missing(names, wanted_set), "");
}

struct Strip {
  QString name;
  QSize frame;
};

// Every strip of four frames: the glyph buttons and the two export buttons.
std::vector<Strip> Strips() {
  std::vector<Strip> strips;
  for (const ButtonArt& art : GlyphButtons()) strips.push_back({art.name, art.frame});
  strips.push_back({"export", kExportFrame});
  strips.push_back({"stop-export", kExportFrame});
  return strips;
}

QImage FrameOf(const Strip& strip, int scale, Frame frame) {
  const QSize size = strip.frame * scale;
  return Image(strip.name, scale)
      .copy(static_cast<int>(frame) * size.width(), 0, size.width(), size.height());
}

// The pixels of exactly `ink` (a glyph's solid inside), above `below_row`.
QSet<std::pair<int, int>> InkPixels(const QImage& frame, QColor ink, int below_row) {
  QSet<std::pair<int, int>> pixels;
  for (int y = 0; y < std::min(below_row, frame.height()); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      if (frame.pixel(x, y) == ink.rgba()) pixels.insert({x, y});
    }
  }
  return pixels;
}

QSet<std::pair<int, int>> Shifted(const QSet<std::pair<int, int>>& pixels, int by) {
  QSet<std::pair<int, int>> shifted;
  for (const auto& [x, y] : pixels) shifted.insert({x + by, y + by});
  return shifted;
}

TEST(SkinImages, ButtonFramesAreTransparentRoundTheFaceAndEachLooksDifferent) {
  for (const Strip& strip : Strips()) {
    const std::string name = strip.name.toStdString();
    for (int scale : kScales) {
      std::vector<QImage> frames;
      for (Frame state : kStripFrames) {
        const QImage frame = FrameOf(strip, scale, state);
        const int right = frame.width() - 1;
        EXPECT_EQ(qAlpha(frame.pixel(0, 0)), 0) << name;
        EXPECT_EQ(qAlpha(frame.pixel(right, 0)), 0) << name;
        for (int y = 0; y < frame.height(); ++y) {
          ASSERT_EQ(qAlpha(frame.pixel(0, y)), 0) << name << " left edge";
          ASSERT_EQ(qAlpha(frame.pixel(right, y)), 0) << name << " right edge";
        }
        EXPECT_EQ(qAlpha(frame.pixel(frame.width() / 2, frame.height() / 2)), 255) << name;
        frames.push_back(frame);
      }
      for (size_t a = 0; a < frames.size(); ++a) {
        for (size_t b = a + 1; b < frames.size(); ++b) {
          EXPECT_NE(frames[a], frames[b]) << name << " frames " << a << " and " << b;
        }
      }
    }
  }
}

TEST(SkinImages, PressedGlyphsMoveAPixelDownRightAndTakeTheAccent) {
  for (const ButtonArt& art : GlyphButtons()) {
    const Strip strip{art.name, art.frame};
    for (int scale : kScales) {
      // The recorder's keys carry an accent mark under the glyph: leave its rows out.
      const int mark_rows = art.face == FaceKind::kRemote ? 5 : 0;
      const int glyph_rows = (art.frame.height() - mark_rows) * scale;
      auto ink = [&](Frame state) {
        return InkPixels(FrameOf(strip, scale, state), InkColour(art.ink, art.face, state),
                         glyph_rows);
      };
      const auto normal = ink(Frame::kNormal);
      ASSERT_FALSE(normal.isEmpty()) << art.name;
      EXPECT_EQ(ink(Frame::kHover), normal) << art.name;
      if (art.checked_glyph != nullptr) {
        EXPECT_NE(ink(Frame::kPressed), Shifted(normal, scale)) << art.name;
      } else {
        EXPECT_EQ(ink(Frame::kPressed), Shifted(normal, scale)) << art.name;
      }
      if (art.ink == Ink::kGlyph) {
        EXPECT_EQ(InkColour(art.ink, art.face, Frame::kPressed), kAccent) << art.name;
      }
    }
  }
}

TEST(SkinImages, DisabledFramesShowNoAccent) {
  for (const Strip& strip : Strips()) {
    for (int scale : kScales) {
      const QImage frame = FrameOf(strip, scale, Frame::kDisabled);
      for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
          const QColor colour = QColor::fromRgba(frame.pixel(x, y));
          ASSERT_LT(colour.blue() - colour.red(), 40)
              << strip.name.toStdString() << " pixel " << x << "," << y;
        }
      }
    }
  }
}

TEST(SkinImages, TheBorderStretchesWithoutSeamsAndEndsInItsOutlineColour) {
  for (int scale : kScales) {
    const QImage& border = Image("border", scale);
    EXPECT_FALSE(border.hasAlphaChannel());
    for (int x = 90 * scale; x < 131 * scale; ++x) {
      ASSERT_TRUE(ColumnsEqual(border, 90 * scale, x)) << "column " << x << " at " << scale;
    }
    // Between the title bar and the control panel, which starts at row 126.
    for (int y = 90 * scale; y < 126 * scale; ++y) {
      ASSERT_TRUE(RowsEqual(border, 90 * scale, y)) << "row " << y << " at " << scale;
    }
    EXPECT_EQ(border.pixelColor(border.width() - 1, border.height() - 1), kOutline);
    // The picture's surround: black inside, the frame at both sides.
    const int row = 100 * scale;
    EXPECT_EQ(border.pixelColor(2 * scale, row), kPicture);
    EXPECT_EQ(border.pixelColor(197 * scale, row), kPicture);
    EXPECT_NE(border.pixelColor(198 * scale, row), kPicture);
  }
}

TEST(SkinImages, ChannelsKeepTheirMiddleTheSameAlongTheSlider) {
  for (const char* name : {"position-channel", "position-channel-active"}) {
    for (int scale : kScales) {
      const QImage& channel = Image(name, scale);
      for (int x = 7 * scale; x < channel.width() - 7 * scale; ++x) {
        ASSERT_TRUE(ColumnsEqual(channel, 7 * scale, x)) << name << " column " << x;
      }
    }
  }
  // The volume wedge rises to the right, lit or not.
  for (const char* name : {"volume-channel", "volume-channel-active"}) {
    const QImage& wedge = Image(name, 1);
    EXPECT_EQ(qAlpha(wedge.pixel(10, 5)), 0) << name;
    EXPECT_EQ(qAlpha(wedge.pixel(60, 5)), 255) << name;
  }
}

TEST(SkinImages, TheStatusSpriteUsesOnlyItsExactColoursAtBothScales) {
  const QSet<QRgb> allowed = {kStatusBlack.rgb(),  kStatusLit.rgb(),   kStatusDim.rgb(),
                              kStatusRecord.rgb(), kStatusAlarm.rgb(), kStatusAlarmText.rgb()};
  for (int scale : kScales) {
    const QImage& sprite = Image("status", scale);
    EXPECT_FALSE(sprite.hasAlphaChannel());
    for (int y = 0; y < sprite.height(); ++y) {
      for (int x = 0; x < sprite.width(); ++x) {
        ASSERT_TRUE(allowed.contains(sprite.pixel(x, y)))
            << "pixel " << x << "," << y << " at " << scale << "x is "
            << QColor(sprite.pixel(x, y)).name().toStdString();
      }
    }
  }
}

TEST(SkinImages, EveryStatusPieceIsDrawnDistinctAndStaysInsideItsCell) {
  for (int scale : kScales) {
    EXPECT_TRUE(AllBlack(SpritePiece(scale, kPlayIconColumn, 0, 16)));
    struct Pieces {
      int column, width, states;
    };
    std::vector<Pieces> groups = {{kPlayIconColumn, 16, 6},
                                  {kLinkColumn, kLinkWidth, 7},
                                  {kIndicatorColumn, kIndicatorWidth, 3}};
    for (int channel = 0; channel < 4; ++channel) {
      groups.push_back({kChannelColumn + channel * kChannelWidth, kChannelWidth, 6});
    }
    for (const Pieces& group : groups) {
      const int first = group.column == kPlayIconColumn ? 1 : 0;
      for (int a = first; a < group.states; ++a) {
        const QImage piece = SpritePiece(scale, group.column, a * kStatusRow, group.width);
        EXPECT_FALSE(AllBlack(piece)) << "column " << group.column << " state " << a;
        for (int b = a + 1; b < group.states; ++b) {
          EXPECT_NE(piece, SpritePiece(scale, group.column, b * kStatusRow, group.width))
              << "column " << group.column << " states " << a << " and " << b;
        }
      }
    }
    // The link words end before the channels begin; nothing between channels and indicator.
    const int link_end = kLinkColumn + kLinkWidth;
    EXPECT_TRUE(AllBlack(SpritePiece(scale, link_end, 0, kChannelColumn - link_end)));
    const int channels_end = kChannelColumn + 4 * kChannelWidth;
    for (int state = 0; state < 7; ++state) {
      EXPECT_TRUE(
          AllBlack(SpritePiece(scale, link_end, state * kStatusRow, kChannelColumn - link_end)));
      EXPECT_TRUE(AllBlack(
          SpritePiece(scale, channels_end, state * kStatusRow, kIndicatorColumn - channels_end)));
    }
  }
}

// The committed images as the viewer gets them: compiled in from resources/skin.qrc, each under
// its own name, exactly the images draw_skin makes and at the sizes it makes them.
TEST(SkinResources, EveryImageIsCompiledInAtBothScalesUnderItsOwnName) {
  QSet<QString> expected;
  for (const SkinImage& image : SkinImages()) {
    for (int scale : kScales) {
      const QString file = FileName(image.name, scale);
      expected.insert(file);
      QImage compiled(":/skin/" + file);
      EXPECT_EQ(compiled.size(), image.size * scale) << file.toStdString();
      // A drawing changed without running tools/draw-skin leaves the committed image stale.
      EXPECT_TRUE(compiled.convertToFormat(QImage::Format_ARGB32) ==
                  image.draw(scale).convertToFormat(QImage::Format_ARGB32))
          << file.toStdString() << " differs from what draw_skin draws: run tools/draw-skin";
    }
  }
  const QStringList entries = QDir(":/skin").entryList(QDir::Files);
  const QSet<QString> listed(entries.begin(), entries.end());
  EXPECT_EQ(Missing(expected, listed), "") << "not in skin.qrc";
  EXPECT_EQ(Missing(listed, expected), "") << "in skin.qrc but not drawn";
}

struct ProgramRun {
  int code;
  QString err;
};

ProgramRun DrawSkin(const QStringList& arguments) {
  QProcess process;
  process.start(DRAW_SKIN_PATH, arguments);
  process.waitForFinished(-1);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardError())};
}

TEST(DrawSkin, WritesEveryImageAtBothScalesIntoANewFolder) {
  QTemporaryDir dir;
  const QString out = dir.filePath("nested/skin");
  const ProgramRun run = DrawSkin({out});
  ASSERT_EQ(run.code, 0) << run.err.toStdString();
  const QStringList files = QDir(out).entryList({"*.png"}, QDir::Files);
  EXPECT_EQ(files.size(), static_cast<qsizetype>(SkinImages().size() * 2));
  const QImage sprite(QDir(out).filePath("status@2x.png"));
  EXPECT_EQ(sprite.size(), kStatusSpriteSize * 2);
}

TEST(DrawSkin, ReportsAFolderItCannotWriteAndAWrongCommandLine) {
  QTemporaryDir dir;
  QFile blocker(dir.filePath("file"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const ProgramRun blocked = DrawSkin({dir.filePath("file/skin")});
  EXPECT_EQ(blocked.code, 1);
  EXPECT_TRUE(blocked.err.contains("cannot")) << blocked.err.toStdString();
  EXPECT_EQ(DrawSkin({}).code, 2);
  EXPECT_EQ(DrawSkin({"a", "b"}).code, 2);
}

}  // namespace
}  // namespace dvr::skin

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  testing::InitGoogleTest(&argc, argv);
  QGuiApplication application(argc, argv);
  return RUN_ALL_TESTS();
}

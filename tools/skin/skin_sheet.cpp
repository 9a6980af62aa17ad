// A contact sheet of the drawn skin for looking it over: every image of a folder that draw_skin
// wrote, enlarged without smoothing, once on mid-grey and once on the control panel's colour.
//   skin_sheet FOLDER SHEET.png [--2x] [--zoom N] [--only REGEX]
#include <QCommandLineParser>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>
#include <vector>

#include "palette.h"
#include "skin_images.h"

namespace {

constexpr int kLabelWidth = 170;
constexpr int kPadding = 10;
const QColor kMidGrey(0x80, 0x80, 0x80);

struct Entry {
  QString name;
  QImage image;
};

QImage Compose(const std::vector<Entry>& entries, int zoom) {
  int widest = 0, height = kPadding;
  for (const Entry& entry : entries) {
    widest = std::max(widest, entry.image.width() * zoom);
    height += entry.image.height() * zoom + kPadding;
  }
  const int column = widest + 2 * kPadding;
  QImage sheet(kLabelWidth + 2 * column, height, QImage::Format_RGB32);
  sheet.fill(QColor(0x10, 0x10, 0x10));
  QPainter painter(&sheet);
  painter.fillRect(kLabelWidth, 0, column, height, kMidGrey);
  painter.fillRect(kLabelWidth + column, 0, column, height, dvr::skin::kPanelBottom);
  painter.setPen(Qt::white);
  int y = kPadding;
  for (const Entry& entry : entries) {
    const QImage big = entry.image.scaled(entry.image.size() * zoom, Qt::IgnoreAspectRatio,
                                          Qt::FastTransformation);
    painter.drawText(QRect(kPadding, y, kLabelWidth - kPadding, big.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, entry.name);
    painter.drawImage(kLabelWidth + kPadding, y, big);
    painter.drawImage(kLabelWidth + column + kPadding, y, big);
    y += big.height() + kPadding;
  }
  return sheet;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  QCommandLineParser parser;
  parser.addPositionalArgument("folder", "where draw_skin wrote the images");
  parser.addPositionalArgument("sheet", "the contact sheet to write (PNG)");
  parser.addOption({"2x", "show the double-resolution images"});
  parser.addOption({"zoom", "enlargement (default 3)", "N", "3"});
  parser.addOption({"only", "only images whose name matches", "REGEX", "."});
  parser.process(application);
  const QStringList positional = parser.positionalArguments();
  const int zoom = parser.value("zoom").toInt();
  if (positional.size() != 2 || zoom < 1) parser.showHelp(2);

  const QDir folder(positional[0]);
  const QRegularExpression only(parser.value("only"));
  const int scale = parser.isSet("2x") ? 2 : 1;
  std::vector<Entry> entries;
  for (const dvr::skin::SkinImage& image : dvr::skin::SkinImages()) {
    if (!only.match(image.name).hasMatch()) continue;
    const QString path = folder.filePath(dvr::skin::FileName(image.name, scale));
    QImage loaded(path);
    if (loaded.isNull()) {
      QTextStream(stderr) << "skin_sheet: cannot read " << path << "\n";
      return 1;
    }
    loaded.setDevicePixelRatio(1);  // "@2x" in the name would halve it on the sheet
    entries.push_back({image.name, loaded});
  }
  if (!Compose(entries, zoom).save(positional[1], "PNG")) {
    QTextStream(stderr) << "skin_sheet: cannot write " << positional[1] << "\n";
    return 1;
  }
  return 0;
}

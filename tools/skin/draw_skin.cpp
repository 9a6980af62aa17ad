// Draws every bitmap of the viewer's skin, at 1x and 2x, into the folder given as the argument.
// Exit code 0 on success, 1 when a file cannot be written or the label font is missing, 2 on a
// wrong command line.
#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include "label_font.h"
#include "skin_images.h"

namespace {

int Fail(const QString& message) {
  QTextStream(stderr) << "draw_skin: " << message << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  const QStringList arguments = application.arguments();
  if (arguments.size() != 2) {
    QTextStream(stderr) << "usage: draw_skin OUTPUT_FOLDER\n";
    return 2;
  }
  if (!dvr::skin::LabelFontInstalled()) {
    return Fail(QString("the font \"%1\" is not installed").arg(dvr::skin::kLabelFamily));
  }
  const QDir folder(arguments[1]);
  if (!folder.mkpath(".")) return Fail("cannot make the folder " + folder.path());

  int written = 0;
  for (const dvr::skin::SkinImage& image : dvr::skin::SkinImages()) {
    for (int scale : dvr::skin::kScales) {
      const QString path = folder.filePath(dvr::skin::FileName(image.name, scale));
      if (!image.draw(scale).save(path, "PNG")) return Fail("cannot write " + path);
      ++written;
    }
  }
  QTextStream(stdout) << "wrote " << written << " images to " << folder.path() << "\n";
  return 0;
}

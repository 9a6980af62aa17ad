// The window's languages: the built-in translations are complete in English and Japanese, the
// chosen one shows in the menus, the dialogs' buttons and the status line, and the program refuses
// a language it does not have.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QXmlStreamReader>

#include <utility>
#include <vector>

#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/dialogs/dialog_parts.h"
#include "app/language.h"
#include "main_window_fixture.h"
#include "net/remote_control.h"
#include "viewer_recording.h"

namespace dvr::test {
namespace {

using app::ChooseLanguage;
using app::Translations;

const QStringList kLanguages = {"en", "ja"};

TEST(Language, TheOptionWinsOverTheSystemLocaleAndAnUnknownOneIsRefused) {
  EXPECT_EQ(ChooseLanguage(std::nullopt, "ja_JP"), "ja");
  EXPECT_EQ(ChooseLanguage(std::nullopt, "ja"), "ja");
  EXPECT_EQ(ChooseLanguage(std::nullopt, "en_GB"), "en");
  EXPECT_EQ(ChooseLanguage(std::nullopt, "de_DE"), "en");
  EXPECT_EQ(ChooseLanguage(std::nullopt, "C"), "en");
  EXPECT_EQ(ChooseLanguage(QString("en"), "ja_JP"), "en");
  EXPECT_EQ(ChooseLanguage(QString("ja"), "C"), "ja");
  EXPECT_EQ(ChooseLanguage(QString("fr"), "ja_JP"), std::nullopt);
  EXPECT_EQ(ChooseLanguage(QString("JA"), "C"), std::nullopt);
  EXPECT_EQ(ChooseLanguage(QString(""), "ja_JP"), std::nullopt);
}

// The command table's texts and tooltips and the remote control's keys, as the menus ask for them.
TEST(Translations, EveryCommandAndRemoteKeyTextHasATranslationInBothLanguages) {
  std::vector<const char*> texts;
  for (const app::CommandSpec& command : app::Commands()) {
    if (command.text) texts.push_back(command.text);
    if (command.tooltip) texts.push_back(command.tooltip);
  }
  for (const net::RemoteCommand& remote : net::RemoteCommands()) texts.push_back(remote.text);
  ASSERT_GT(texts.size(), 50u);
  for (const QString& language : kLanguages) {
    QTranslator translator;
    ASSERT_TRUE(translator.load(":/i18n/dvr-viewer_" + language + ".qm")) << language.toStdString();
    for (const char* text : texts) {
      EXPECT_FALSE(translator.translate("Commands", text).isEmpty())
          << language.toStdString() << ": " << text;
    }
  }
}

struct TsMessage {
  QString context;
  QString source;
  bool operator==(const TsMessage&) const = default;
};

// The messages of a .ts file; a message whose translation is unfinished, left over from a text
// that is gone, or empty fails the test.
std::vector<TsMessage> FinishedMessages(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  QXmlStreamReader xml(&file);
  std::vector<TsMessage> messages;
  QString context;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == u"name") {
      context = xml.readElementText();
    } else if (xml.name() == u"source") {
      messages.push_back({context, xml.readElementText()});
    } else if (xml.name() == u"translation") {
      const QString where = path + ": " + context + " / " + messages.back().source;
      EXPECT_TRUE(xml.attributes().value("type").isEmpty()) << where.toStdString();
      EXPECT_FALSE(xml.readElementText().isEmpty()) << where.toStdString();
    }
  }
  EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
  return messages;
}

TEST(Translations, BothFilesHoldTheSameMessagesAllFinished) {
  const std::vector<TsMessage> english = FinishedMessages(TRANSLATIONS_DIR "/dvr-viewer_en.ts");
  const std::vector<TsMessage> japanese = FinishedMessages(TRANSLATIONS_DIR "/dvr-viewer_ja.ts");
  EXPECT_GT(english.size(), 100u);
  EXPECT_TRUE(english == japanese);
}

QString OurCancelText() {
  QDialog dialog;
  return app::OkCancelButtons(&dialog, {})->findChild<QPushButton*>("id2")->text();
}

QString QtCancelText() {
  QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  return buttons.button(QDialogButtonBox::Cancel)->text();
}

using LanguageWindowTest = MainWindowTest;

TEST_F(LanguageWindowTest, EnglishShowsInTheMenusButtonsAndStatusLine) {
  const Translations english("en");
  ASSERT_TRUE(english.Loaded());
  const std::string path = WriteViewerRecording(dir_, 4, 120, 1);
  app::MainWindow& window = StartWindow({path});
  EXPECT_EQ(window.Action(app::kCmdPause)->text(), "Pause");
  EXPECT_EQ(window.Action(app::kCmdStepForward)->text(), "Step forward");
  EXPECT_EQ(window.Action(app::kCmdOpenFile)->text(), "&Open file...");
  EXPECT_EQ(window.Action(app::kCmdGoToTime)->text(), "Go to time...");
  EXPECT_EQ(window.ButtonFor(app::kCmdExport)->Widget()->toolTip(), "Start AVI export");
  EXPECT_EQ(OurCancelText(), "Cancel");
  EXPECT_EQ(QtCancelText(), "Cancel");

  ASSERT_TRUE(
      QTest::qWaitFor([&] { return window.StatusText().startsWith("Play x 1.0   "); }, 5000))
      << window.StatusText().toStdString();
  window.RunCommand(app::kCmdPause);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.StatusText().startsWith("Pause"); }, 5000))
      << window.StatusText().toStdString();
}

TEST_F(LanguageWindowTest, JapaneseShowsInTheMenusAndTheButtonsOfBothKindsOfDialog) {
  const Translations japanese("ja");
  ASSERT_TRUE(japanese.Loaded());
  app::MainWindow& window = StartWindow();
  EXPECT_EQ(window.Action(app::kCmdPause)->text(), "一時停止");
  EXPECT_EQ(window.Action(app::kCmdGoToTime)->text(), "時刻へ移動...");
  EXPECT_EQ(window.ButtonFor(app::kCmdPlay)->Widget()->toolTip(), "再生");
  EXPECT_EQ(window.Action(app::kCmdSplit9)->text(), "9分割画面");
  EXPECT_EQ(window.Action(app::kCmdConnect)->text(), "接続(&C)...");
  EXPECT_EQ(OurCancelText(), "キャンセル");
  EXPECT_EQ(QtCancelText(), "キャンセル");
}

// The program itself: a known language starts the window, an unknown one is a command-line error.
TEST(ViewerProgram, RunsInAKnownLanguageAndRefusesAnUnknownOneWithExitCode2) {
  TempDir dir;
  const QString settings = QString::fromStdString(dir.File("dvr-viewer.INI"));
  for (const auto& [language, exit_code] : {std::pair{"ja", 0}, {"en", 0}, {"fr", 2}}) {
    QProcess viewer;
    viewer.start(DVR_VIEWER_PATH,
                 {"--lang", language, "--silent", "--seconds", "0.1", "--settings", settings});
    ASSERT_TRUE(viewer.waitForFinished(60000)) << language;
    EXPECT_EQ(viewer.exitStatus(), QProcess::NormalExit) << language;
    EXPECT_EQ(viewer.exitCode(), exit_code) << language;
    if (exit_code == 2) {
      EXPECT_TRUE(viewer.readAllStandardError().contains("unknown language \"fr\" for --lang"));
    }
  }
}

}  // namespace
}  // namespace dvr::test

// The viewer's dialogs driven as a person uses them: values in, the controls shown, edits, and the
// values OK hands back; Cancel hands back what came in.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <utility>

#include "app/dialogs/about_dialog.h"
#include "app/dialogs/disk_dialog.h"
#include "app/dialogs/encoder_dialog.h"
#include "app/dialogs/folder_browser.h"
#include "app/dialogs/login_dialog.h"
#include "app/dialogs/network_options_dialog.h"
#include "app/dialogs/options_dialog.h"
#include "dialog_driver.h"
#include "support/temp_dir.h"

namespace dvr::test {
namespace {

constexpr int kOk = 1, kCancel = 2;

// Clicks a button near its left end: a check box or radio button takes clicks only on its
// indicator and text, not on the rest of its row.
void Click(const QWidget& dialog, int id) {
  QAbstractButton* button = Control<QAbstractButton>(dialog, id);
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
}

QString Text(const QWidget& dialog, int id) {
  return Control<QLineEdit>(dialog, id)->text();
}

void Type(const QWidget& dialog, int id, const QString& text) {
  Control<QLineEdit>(dialog, id)->setText(text);
}

bool Checked(const QWidget& dialog, int id) {
  return Control<QAbstractButton>(dialog, id)->isChecked();
}

app::OptionsValues SomeOptions() {
  return {.always_on_top = true,
          .show_time = false,
          .still_folder = "/data/stills",
          .repeat = true,
          .time_format = "%H:%M",
          .use_direct_draw = true};
}

TEST(DialogOptions, OkReturnsTheEditedControlsAndPassesTheRestThrough) {
  app::OptionsDialog dialog(SomeOptions());
  dialog.show();
  EXPECT_TRUE(Checked(dialog, 1665));
  EXPECT_FALSE(Checked(dialog, 1667));
  EXPECT_TRUE(Checked(dialog, 1697));
  EXPECT_EQ(Text(dialog, 1664), "/data/stills");
  EXPECT_FALSE(Control<QCheckBox>(dialog, 1712)->isVisible());

  Click(dialog, 1665);
  Click(dialog, 1667);
  Type(dialog, 1664, "/data/other");
  Click(dialog, kOk);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  const app::OptionsValues out = dialog.Values();
  EXPECT_FALSE(out.always_on_top);
  EXPECT_TRUE(out.show_time);
  EXPECT_TRUE(out.repeat);
  EXPECT_EQ(out.still_folder, "/data/other");
  EXPECT_EQ(out.time_format, "%H:%M");
  EXPECT_TRUE(out.use_direct_draw);
}

TEST(DialogOptions, CancelKeepsTheValuesItWasGiven) {
  app::OptionsDialog dialog(SomeOptions());
  dialog.show();
  Click(dialog, 1665);
  Type(dialog, 1664, "/data/other");
  Click(dialog, kCancel);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(dialog.Values().still_folder, "/data/stills");
  EXPECT_TRUE(dialog.Values().always_on_top);
}

TEST(DialogOptions, TheBrowseButtonPutsTheChosenFolderInAndKeepsTheOtherEdits) {
  TempDir dir;
  const std::string chosen = dir.Path() + "/stills";
  std::filesystem::create_directory(chosen);
  app::OptionsDialog dialog(SomeOptions());
  dialog.show();
  Click(dialog, 1667);
  ModalWindows browser([&](QWidget* window) {
    auto* folder_browser = qobject_cast<app::FolderBrowser*>(window);
    ASSERT_NE(folder_browser, nullptr);
    EXPECT_EQ(Text(*folder_browser, 14148), "/data/stills");  // opens on the dialog's folder
    Type(*folder_browser, 14148, QString::fromStdString(chosen));
    Click(*folder_browser, kOk);
  });
  Click(dialog, 1666);
  EXPECT_EQ(Text(dialog, 1664).toStdString(), chosen);
  EXPECT_TRUE(Checked(dialog, 1667));
}

app::NetworkOptionsValues SomeNetworkOptions() {
  return {.always_on_top = false,
          .use_direct_draw = true,
          .auto_reconnection = true,
          .repeat = false,
          .ddns_address = "10.0.0.5",
          .ddns_port = 1800,
          .recording_folder = "/data/rec",
          .timeout_ms = 7500,
          .mouse_mode = 1};
}

TEST(DialogNetworkOptions, ShowsWholeSecondsAndStoresThemInMilliseconds) {
  app::NetworkOptionsDialog dialog(SomeNetworkOptions());
  dialog.show();
  EXPECT_EQ(Text(dialog, 1736), "7");
  EXPECT_EQ(Text(dialog, 1735), "1800");
  EXPECT_EQ(Text(dialog, 1733), "10.0.0.5");
  EXPECT_TRUE(Checked(dialog, 1742));
  Click(dialog, kOk);
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Values().timeout_ms, 7000u);
}

TEST(DialogNetworkOptions, OkReturnsEveryEditedValue) {
  app::NetworkOptionsDialog dialog(SomeNetworkOptions());
  dialog.show();
  Click(dialog, 1665);
  Click(dialog, 1667);
  Click(dialog, 1697);
  Type(dialog, 1733, "10.0.0.9");
  Type(dialog, 1735, " 65535 ");
  Type(dialog, 1734, "/data/rec2");
  Type(dialog, 1736, "4294967");
  Click(dialog, 1743);
  Click(dialog, kOk);
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  const app::NetworkOptionsValues out = dialog.Values();
  EXPECT_TRUE(out.always_on_top);
  EXPECT_TRUE(out.use_direct_draw);
  EXPECT_FALSE(out.auto_reconnection);
  EXPECT_TRUE(out.repeat);
  EXPECT_EQ(out.ddns_address, "10.0.0.9");
  EXPECT_EQ(out.ddns_port, 65535);
  EXPECT_EQ(out.recording_folder, "/data/rec2");
  EXPECT_EQ(out.timeout_ms, 4294967000u);
  EXPECT_EQ(out.mouse_mode, 2);
}

struct BadNumber {
  const char* name;
  int field;
  const char* text;
  const char* message;
};

void PrintTo(const BadNumber& bad, std::ostream* out) { *out << bad.name << " \"" << bad.text << "\""; }

class DialogNetworkOptionsBadNumber : public testing::TestWithParam<BadNumber> {};

TEST_P(DialogNetworkOptionsBadNumber, NamesTheFieldAndItsRangeAndStaysOpenInThatField) {
  app::NetworkOptionsDialog dialog(SomeNetworkOptions());
  dialog.show();
  Type(dialog, GetParam().field, GetParam().text);
  MessageBoxAnswers answers;
  Click(dialog, kOk);
  ASSERT_EQ(answers.Shown().size(), 1u);
  EXPECT_EQ(answers.Shown()[0].text, GetParam().message);
  EXPECT_EQ(answers.Shown()[0].icon, QMessageBox::Warning);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.focusWidget(), Control<QLineEdit>(dialog, GetParam().field));
  EXPECT_EQ(dialog.Values().ddns_port, 1800);  // nothing taken yet

  Type(dialog, GetParam().field, "9");
  Click(dialog, kOk);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(answers.Shown().size(), 1u);
}

constexpr const char* kPortMessage = "Port: enter a whole number from 1 to 65535.";
constexpr const char* kTimeoutMessage =
    "Connection Timeout: enter a whole number from 1 to 4294967.";

INSTANTIATE_TEST_SUITE_P(
    Dialog, DialogNetworkOptionsBadNumber,
    testing::Values(BadNumber{"PortWithALetter", 1735, "80a", kPortMessage},
                    BadNumber{"PortTooLarge", 1735, "70000", kPortMessage},
                    BadNumber{"PortEmpty", 1735, "", kPortMessage},
                    BadNumber{"TimeoutZero", 1736, "0", kTimeoutMessage},
                    BadNumber{"TimeoutPastTheMilliseconds", 1736, "4294968", kTimeoutMessage},
                    BadNumber{"TimeoutFraction", 1736, "7.5", kTimeoutMessage}),
    [](const testing::TestParamInfo<BadNumber>& info) { return std::string(info.param.name); });

app::LoginValues SomeLogin(bool use_ddns) {
  return {.ip_address = "192.168.11.138",
          .port = 8841,
          .use_ddns = use_ddns,
          .dvr_name = "DVR000",
          .password = "old"};
}

// Types the password into whatever has the focus, as a person would, and presses Enter.
void TypePasswordAndEnter(app::LoginDialog& dialog, const QString& password) {
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  QWidget* focused = QApplication::focusWidget();
  ASSERT_EQ(focused, Control<QLineEdit>(dialog, 1706));
  QTest::keyClicks(focused, password);
  QTest::keyClick(focused, Qt::Key_Return);
}

TEST(DialogLogin, WithTheAddressFilledInAPasswordAndEnterLogIn) {
  app::LoginDialog dialog(SomeLogin(false));
  EXPECT_EQ(Text(dialog, 1708), "192.168.11.138");
  EXPECT_EQ(Control<QLabel>(dialog, 1709)->text(), "IP address:");
  EXPECT_EQ(Text(dialog, 1706), "");  // a password given is never shown
  EXPECT_EQ(Control<QLineEdit>(dialog, 1706)->echoMode(), QLineEdit::Password);
  Type(dialog, 1708, "10.1.2.3");
  Type(dialog, 1735, "9000");
  TypePasswordAndEnter(dialog, "s3cret");
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  const app::LoginValues out = dialog.Values();
  EXPECT_EQ(out.password, "s3cret");
  EXPECT_EQ(out.ip_address, "10.1.2.3");  // a direct login keeps the address as the IP address
  EXPECT_EQ(out.port, 9000);
  EXPECT_EQ(out.dvr_name, "DVR000");
  EXPECT_FALSE(out.use_ddns);
}

TEST(DialogLogin, ThroughDdnsTheAddressIsTheDvrNameAndThePortIsHidden) {
  app::LoginDialog dialog(SomeLogin(true));
  EXPECT_EQ(Control<QLabel>(dialog, 1709)->text(), "Select DVR");
  EXPECT_EQ(Text(dialog, 1708), "DVR000");
  dialog.show();
  EXPECT_FALSE(Control<QLineEdit>(dialog, 1735)->isVisible());
  EXPECT_FALSE(Control<QLabel>(dialog, 1712)->isVisible());
  EXPECT_FALSE(Control<QCheckBox>(dialog, 1710)->isVisible());

  Type(dialog, 1708, "DVR042");
  Click(dialog, kOk);
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  const app::LoginValues out = dialog.Values();
  EXPECT_TRUE(out.use_ddns);
  EXPECT_EQ(out.dvr_name, "DVR042");
  EXPECT_EQ(out.ip_address, "192.168.11.138");
}

TEST(DialogLogin, WithoutAnAddressTheFocusStartsThere) {
  app::LoginValues values = SomeLogin(false);
  values.ip_address.clear();
  app::LoginDialog dialog(values);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  EXPECT_EQ(QApplication::focusWidget(), Control<QLineEdit>(dialog, 1708));
}

TEST(DialogLogin, AWrongPortKeepsTheDialogOpen) {
  app::LoginDialog dialog(SomeLogin(false));
  dialog.show();
  Type(dialog, 1735, "0");
  MessageBoxAnswers answers;
  Click(dialog, kOk);
  ASSERT_EQ(answers.Shown().size(), 1u);
  EXPECT_EQ(answers.Shown()[0].text, "Port: enter a whole number from 1 to 65535.");
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.Values().password, "");
}

std::vector<media::DriveEntry> TwoDrives() {
  return {{0, "DISK0  Fixed          238472 MB", "/dev/sda"},
          {2, "DISK2  Removable       15200 MB", "/dev/sdc"}};
}

TEST(DialogDisk, TheFirstDriveIsTakenUnlessAnotherIsPicked) {
  app::DiskDialog untouched(TwoDrives());
  untouched.show();
  auto* list = Control<QListWidget>(untouched, 1704);
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(1)->text(), "DISK2  Removable       15200 MB");
  EXPECT_EQ(list->currentRow(), 0);
  Click(untouched, kOk);
  EXPECT_EQ(untouched.SelectedPath(), "/dev/sda");

  app::DiskDialog picked(TwoDrives());
  picked.show();
  auto* picked_list = Control<QListWidget>(picked, 1704);
  QTest::mouseClick(picked_list->viewport(), Qt::LeftButton, {},
                    picked_list->visualItemRect(picked_list->item(1)).center());
  Click(picked, kOk);
  EXPECT_EQ(picked.result(), QDialog::Accepted);
  EXPECT_EQ(picked.SelectedPath(), "/dev/sdc");
}

TEST(DialogDisk, WithoutDrivesTheListSaysWhyAndOkIsDisabled) {
  app::DiskDialog dialog({});
  dialog.show();
  auto* list = Control<QListWidget>(dialog, 1704);
  ASSERT_EQ(list->count(), 1);
  EXPECT_TRUE(list->item(0)->text().contains("\"disk\" group"));
  EXPECT_FALSE(list->item(0)->flags() & Qt::ItemIsSelectable);
  EXPECT_FALSE(Control<QPushButton>(dialog, kOk)->isEnabled());
  QTest::keyClick(&dialog, Qt::Key_Return);
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.SelectedPath(), "");
}

TEST(DialogEncoder, OkReturnsTheChoiceInItsUnits) {
  const std::vector<std::string> offered = exporting::AvailableVideoEncoders();
  ASSERT_GE(offered.size(), 2u);
  app::EncoderDialog dialog(
      {.codec = offered[1], .quality = 4, .bit_rate = 0, .key_frame_interval = 12});
  dialog.show();
  auto* codec = dialog.findChild<QComboBox*>("codec");
  auto* quality = dialog.findChild<QSpinBox*>("quality");
  auto* bit_rate = dialog.findChild<QSpinBox*>("bitRate");
  EXPECT_EQ(codec->currentText().toStdString(), offered[1]);
  EXPECT_EQ(quality->value(), 4);
  EXPECT_EQ(dialog.findChild<QSpinBox*>("keyFrameInterval")->value(), 12);

  codec->setCurrentIndex(0);
  bit_rate->setValue(2500);
  EXPECT_FALSE(quality->isEnabled());  // a bit rate overrides the quality
  Click(dialog, kOk);
  const exporting::VideoEncoderChoice out = dialog.Values();
  EXPECT_FALSE(out.cancelled);
  EXPECT_EQ(out.codec, offered[0]);
  EXPECT_EQ(out.bit_rate, 2'500'000);
  EXPECT_EQ(out.key_frame_interval, 12);
}

TEST(DialogEncoder, CancelMarksTheChoiceCancelledAndAnUnknownEncoderGivesWay) {
  app::EncoderDialog dialog({.codec = "no-such-encoder", .quality = 3});
  dialog.show();
  EXPECT_EQ(dialog.findChild<QComboBox*>("codec")->currentIndex(), 0);
  Click(dialog, kCancel);
  EXPECT_TRUE(dialog.Values().cancelled);
  EXPECT_EQ(dialog.Values().codec, "no-such-encoder");
}

TEST(DialogAbout, ShowsTheNameAndBothVersions) {
  app::AboutDialog dialog;
  QStringList texts;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
  EXPECT_EQ(texts, QStringList({"DVR-K470 Viewer 2.78", "2.7.8.0", "2.78"}));
}

// Pictures of every dialog for a person to look at (texts, fonts, layout), saved into the folder
// that DVR_DIALOG_SHOTS names.
TEST(DialogShots, EveryDialogIsSavedWhenAskedFor) {
  const char* folder = std::getenv("DVR_DIALOG_SHOTS");
  if (folder == nullptr) GTEST_SKIP() << "DVR_DIALOG_SHOTS names no folder";
  std::filesystem::create_directories(folder);
  app::OptionsDialog options(SomeOptions());
  app::NetworkOptionsDialog network(SomeNetworkOptions());
  app::LoginDialog login(SomeLogin(false));
  app::LoginDialog login_ddns(SomeLogin(true));
  app::DiskDialog disks(TwoDrives());
  app::DiskDialog no_disks({});
  app::FolderBrowser browser(folder);
  app::EncoderDialog encoder({});
  app::AboutDialog about;
  const std::pair<QDialog*, const char*> shots[] = {{&options, "options"},
                                                    {&network, "network_options"},
                                                    {&login, "login"},
                                                    {&login_ddns, "login_ddns"},
                                                    {&disks, "disks"},
                                                    {&no_disks, "no_disks"},
                                                    {&browser, "folder_browser"},
                                                    {&encoder, "encoder"},
                                                    {&about, "about"}};
  for (const auto& [dialog, name] : shots) {
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    EXPECT_TRUE(dialog->grab().save(QString("%1/%2.png").arg(folder, name))) << name;
  }
}

}  // namespace
}  // namespace dvr::test

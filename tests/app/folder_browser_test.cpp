// The folder browser with real folders: OK takes only a folder that is valid and exists, or that
// the user agrees to create and that could be created; anything else leaves the browser open with
// the focus back in its edit.
#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <filesystem>

#include "app/dialogs/folder_browser.h"
#include "dialog_driver.h"
#include "support/temp_dir.h"

namespace dvr::test {
namespace {

class FolderBrowserTest : public testing::Test {
 protected:
  // Types `folder` into the edit and presses OK.
  void PressOkOn(const std::string& folder) {
    edit_->setText(QString::fromStdString(folder));
    QTest::mouseClick(Control<QPushButton>(browser_, 1), Qt::LeftButton);
  }

  void ExpectStillOpenInTheEdit() {
    EXPECT_TRUE(browser_.isVisible());
    EXPECT_NE(browser_.result(), QDialog::Accepted);
    EXPECT_EQ(browser_.focusWidget(), edit_);
  }

  void SetUp() override { browser_.show(); }

  TempDir dir_;
  app::FolderBrowser browser_{dir_.Path()};
  QLineEdit* edit_ = Control<QLineEdit>(browser_, 14148);
};

TEST_F(FolderBrowserTest, OpensOnTheInitialFolderSelectedInTheTree) {
  auto* tree = Control<QTreeView>(browser_, 14145);
  ASSERT_TRUE(QTest::qWaitFor([&] { return tree->currentIndex().isValid(); }));
  EXPECT_EQ(edit_->text().toStdString(), dir_.Path());
  EXPECT_TRUE(Control<QPushButton>(browser_, 1)->isEnabled());
}

TEST_F(FolderBrowserTest, OkIsEnabledExactlyWhileTheEditHasText) {
  auto* ok = Control<QPushButton>(browser_, 1);
  edit_->clear();
  EXPECT_FALSE(ok->isEnabled());
  QTest::keyClicks(edit_, "/");
  EXPECT_TRUE(ok->isEnabled());
}

TEST_F(FolderBrowserTest, PickingAFolderInTheTreePutsItsPathInTheEdit) {
  const std::string child = dir_.Path() + "/child";
  std::filesystem::create_directory(child);
  auto* tree = Control<QTreeView>(browser_, 14145);
  const auto* model = static_cast<const QFileSystemModel*>(tree->model());
  const QModelIndex index = model->index(QString::fromStdString(child));
  ASSERT_TRUE(index.isValid());
  tree->setCurrentIndex(index);
  EXPECT_EQ(edit_->text().toStdString(), child);
}

TEST_F(FolderBrowserTest, AnExistingFolderIsTakenWithoutAQuestion) {
  MessageBoxAnswers answers;
  PressOkOn(dir_.Path());
  EXPECT_TRUE(answers.Shown().empty());
  EXPECT_EQ(browser_.result(), QDialog::Accepted);
  EXPECT_EQ(browser_.Folder(), dir_.Path());
}

TEST_F(FolderBrowserTest, AnInvalidFolderIsRefused) {
  for (const std::string& folder : {std::string("Video"), dir_.Path() + "/a?b"}) {
    MessageBoxAnswers answers;
    PressOkOn(folder);
    ASSERT_EQ(answers.Shown().size(), 1u) << folder;
    EXPECT_EQ(answers.Shown()[0].text.toStdString(),
              "The folder:\n\n" + folder + "\n\nis invalid. Please reenter.");
    EXPECT_EQ(answers.Shown()[0].icon, QMessageBox::Warning);
    ExpectStillOpenInTheEdit();
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.Path() + "/a?b"));
}

TEST_F(FolderBrowserTest, AMissingFolderIsCreatedWhenTheUserSaysYes) {
  const std::string folder = dir_.Path() + "/Video/New";
  MessageBoxAnswers answers(QMessageBox::Yes);
  PressOkOn(folder);
  ASSERT_EQ(answers.Shown().size(), 1u);
  EXPECT_EQ(
      answers.Shown()[0].text.toStdString(),
      "The folder:\n\n" + folder + "\n\ndoes not exist. Do you want the folder to be created?");
  EXPECT_EQ(answers.Shown()[0].icon, QMessageBox::Question);
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(browser_.result(), QDialog::Accepted);
  EXPECT_EQ(browser_.Folder(), folder);
}

TEST_F(FolderBrowserTest, AMissingFolderStaysMissingWhenTheUserSaysNo) {
  const std::string folder = dir_.Path() + "/New";
  MessageBoxAnswers answers(QMessageBox::No);
  PressOkOn(folder);
  EXPECT_EQ(answers.Shown().size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(folder));
  ExpectStillOpenInTheEdit();
}

TEST_F(FolderBrowserTest, AFileInTheWayCannotBecomeAFolder) {
  const std::string file = dir_.Write("taken", {1});
  const std::string folder = file + "/New";
  MessageBoxAnswers answers(QMessageBox::Yes);
  PressOkOn(folder);
  ASSERT_EQ(answers.Shown().size(), 2u);
  EXPECT_EQ(answers.Shown()[1].text.toStdString(),
            "The folder:\n\n" + folder + "\n\ncan not be created. Please double check.");
  EXPECT_EQ(answers.Shown()[1].icon, QMessageBox::Warning);
  EXPECT_TRUE(std::filesystem::is_regular_file(file));
  ExpectStillOpenInTheEdit();
}

TEST(FolderBrowse, ReturnsNothingWhenCancelledAndTheFolderWhenAccepted) {
  TempDir dir;
  QWidget owner;
  {
    ModalWindows cancel([](QWidget* browser) {
      QTest::mouseClick(Control<QPushButton>(*browser, 2), Qt::LeftButton);
    });
    EXPECT_EQ(app::BrowseForFolder(&owner, dir.Path()), std::nullopt);
  }
  ModalWindows accept([](QWidget* browser) {
    QTest::mouseClick(Control<QPushButton>(*browser, 1), Qt::LeftButton);
  });
  EXPECT_EQ(app::BrowseForFolder(&owner, dir.Path()), dir.Path());
}

TEST(FolderBrowse, WithoutAFolderOpensOnTheCurrentOne) {
  app::FolderBrowser browser("");
  EXPECT_EQ(Control<QLineEdit>(browser, 14148)->text(), QDir::currentPath());
}

}  // namespace
}  // namespace dvr::test

// Notices from the engine's or the network client's thread reach the window thread queued: the
// thread that reports never waits for the box.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTest>
#include <QWidget>

#include <thread>

#include "app/gui_notices.h"

namespace dvr::test {
namespace {

TEST(GuiNotices, ANoticeFromAWorkerIsShownOnTheWindowThreadWithoutBlocking) {
  QWidget window;
  window.setWindowTitle("viewer");
  app::GuiNotices notices(&window);
  std::thread worker([&notices] { notices.Show("Cannot open the file."); });
  worker.join();  // returns while the box is not there yet
  // The box is shown without a loop of its own: the events go on.
  EXPECT_TRUE(window.findChildren<QMessageBox*>().isEmpty());
  QMessageBox* box = nullptr;
  ASSERT_TRUE(QTest::qWaitFor([&] {
    const auto boxes = window.findChildren<QMessageBox*>();
    box = boxes.isEmpty() ? nullptr : boxes.first();
    return box != nullptr;
  }));
  EXPECT_EQ(box->text(), "Cannot open the file.");
  EXPECT_EQ(box->windowTitle(), "viewer");
}

}  // namespace
}  // namespace dvr::test

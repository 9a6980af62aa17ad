// The transparent label keeps no background of its own: its parent's current one shows through.
#include <gtest/gtest.h>

#include "ui/transparent_label.h"
#include "widget_probe.h"

namespace dvr::test {
namespace {

// Left half one colour, right half another, both changeable.
class TwoColourParent final : public QWidget {
 public:
  QColor left = Qt::red, right = Qt::blue;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(0, 0, width() / 2, height(), left);
    painter.fillRect(width() / 2, 0, width() - width() / 2, height(), right);
  }
};

TEST(TransparentLabelDrawing, ShowsTheParentsCurrentBackgroundAfterChangesAndMoves) {
  TestWindow window;
  auto* parent = new TwoColourParent;
  parent->setParent(window.Widget());
  parent->setGeometry(0, 0, 200, 40);
  auto* label = new ui::TransparentLabel(parent);
  label->setGeometry(10, 5, 80, 30);
  label->SetTextColour(Qt::white);
  label->SetText("Il");
  window.Show();

  EXPECT_EQ(Grabbed(*parent).At(80, 20), qRgb(255, 0, 0));
  const QRect text = Grabbed(*parent).BrightBox();
  ASSERT_FALSE(text.isEmpty());
  EXPECT_LT(text.left() / Grabbed(*parent).Ratio(), 20);  // left-aligned

  parent->left = Qt::green;
  parent->update();
  EXPECT_EQ(Grabbed(*parent).At(80, 20), qRgb(0, 255, 0));
  label->move(110, 5);
  EXPECT_EQ(Grabbed(*parent).At(180, 20), qRgb(0, 0, 255));
}

}  // namespace
}  // namespace dvr::test

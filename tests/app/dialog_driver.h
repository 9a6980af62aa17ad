#pragma once
// Driving the viewer's dialogs from a test: finding a control by its id, and closing the modal
// windows (message boxes, a nested browser) that an action opens with an event loop of its own.
#include <QAbstractButton>
#include <QApplication>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <vector>

namespace dvr::test {

template <class Widget>
Widget* Control(const QWidget& dialog, int id) {
  return dialog.findChild<Widget*>(QStringLiteral("id%1").arg(id));
}

// While it lives, hands each modal window that opens to `handle`, which must close it. The
// window's own event loop runs this object's timer, so the action that opened the window returns
// as soon as `handle` has closed it.
class ModalWindows {
 public:
  explicit ModalWindows(std::function<void(QWidget*)> handle) : handle_(std::move(handle)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* window = QApplication::activeModalWidget();
      if (window == nullptr || !window->isVisible() || handled_.contains(window)) return;
      handled_.append(window);
      handle_(window);
    });
    timer_.start(5);
  }

 private:
  std::function<void(QWidget*)> handle_;
  QList<QPointer<QWidget>> handled_;  // each window once, though it is active again later
  QTimer timer_;
};

struct ShownBox {
  QString text;
  QMessageBox::Icon icon;
};

// Records every message box and presses `answer` where the box offers it, else its first button.
class MessageBoxAnswers {
 public:
  explicit MessageBoxAnswers(QMessageBox::StandardButton answer = QMessageBox::Ok)
      : modal_([this, answer](QWidget* window) {
          auto* box = qobject_cast<QMessageBox*>(window);
          if (box == nullptr) return;
          shown_.push_back({box->text(), box->icon()});
          QAbstractButton* button = box->button(answer);
          (button != nullptr ? button : box->buttons().first())->click();
        }) {}

  const std::vector<ShownBox>& Shown() const { return shown_; }

 private:
  std::vector<ShownBox> shown_;
  ModalWindows modal_;
};

}  // namespace dvr::test

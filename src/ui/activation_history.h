#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace zandor {

// Which of the program's own windows was active last. A window that becomes
// active learns which one came before it, so it can tell a return from another
// of our windows (the previous one differs) from a return from another program
// (the previous one is itself: the other program's windows are not watched,
// and neither are message boxes, so closing a box is no window change either).
class ActivationHistory final : public QObject {
  Q_OBJECT

 public:
  explicit ActivationHistory(QObject* parent = nullptr) : QObject(parent) {}

  // Starts watching a top-level window of the program.
  void Watch(QWidget* window);

  // The watched window that was active last; nullptr before the first one.
  QWidget* LastActive() const { return last_; }

 Q_SIGNALS:
  // window has just become the active window; previous is the watched window
  // that was active before it (nullptr the first time, window itself after a
  // return from another program).
  void Activated(QWidget* window, QWidget* previous);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> last_;
};

}  // namespace zandor

#include "ui/activation_history.h"

#include <QEvent>

namespace zandor {

void ActivationHistory::Watch(QWidget* window) {
  window->installEventFilter(this);
}

bool ActivationHistory::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::WindowActivate && watched->isWidgetType()) {
    auto* window = static_cast<QWidget*>(watched);
    if (window->isWindow()) {
      QWidget* previous = last_;
      last_ = window;
      Q_EMIT Activated(window, previous);
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace zandor

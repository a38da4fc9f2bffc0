#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <initializer_list>

#include "settings/memory_settings_store.h"
#include "support/qt_print.h"
#include "ui/message_boxes.h"

namespace zandor::testing {

// One stored value: section, key, text.
struct Stored {
  const char* section;
  const char* key;
  const char* value;
};

inline void Seed(SettingsStore& store, std::initializer_list<Stored> values) {
  for (const Stored& v : values) {
    store.Write(QString::fromUtf8(v.section), QString::fromUtf8(v.key), QString::fromUtf8(v.value));
  }
}

inline std::optional<QString> ReadKey(const SettingsStore& store, const char* section,
                                      const char* key) {
  return store.Read(QString::fromUtf8(section), QString::fromUtf8(key));
}

// A child control by its object name; fails the test when it is missing.
template <class T>
T* Control(const QObject& root, const char* name) {
  T* found = root.findChild<T*>(QString::fromUtf8(name));
  EXPECT_NE(found, nullptr) << "no control " << name;
  return found;
}

// Makes window the active window at once, as a click on it would. Pending
// platform events are flushed first, so that none of them changes it later.
inline void Activate(QWidget* window) {
  QCoreApplication::processEvents();
  QApplication::setActiveWindow(window);
  QCoreApplication::processEvents();
}

// Boxes answered as a user would: records every text; Ask answers from the
// queue (Yes when it is empty).
class RecordingBoxes final : public MessageBoxes {
 public:
  void Show(QWidget*, const QString& text) override { shown.append(text); }
  bool Ask(QWidget*, const QString& text) override {
    asked.append(text);
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }

  QStringList shown;
  QStringList asked;
  std::deque<bool> answers;
};

}  // namespace zandor::testing

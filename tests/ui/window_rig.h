#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "support/memory_keyring.h"
#include "support/sync_rig.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"

namespace zandor::testing {

// A child control by its object name; fails the test when it is missing.
template <class T>
T* Control(const QObject& root, const char* name) {
  T* found = root.findChild<T*>(QString::fromUtf8(name));
  EXPECT_NE(found, nullptr) << "no control " << name;
  return found;
}

// Boxes that record what they show and ask, and answer every question alike;
// whileAsked runs while a question is open.
class RecordingBoxes final : public MessageBoxes {
 public:
  void Show(QWidget*, const QString& text) override { shown << text; }
  bool Ask(QWidget*, const QString& text) override {
    asked << text;
    if (whileAsked) whileAsked();
    return answer;
  }
  bool TrustCertificate(QWidget*, const UntrustedCertificate& certificate) override {
    certificates.push_back(certificate);
    return trust;
  }
  QStringList shown, asked;
  bool answer = true;
  std::vector<UntrustedCertificate> certificates;
  bool trust = true;
  std::function<void()> whileAsked;
};

// The real main window over the sync rig's Maildir, Kelvo, line, settings and
// clock. Every yield runs onYield, then steps the Kelvo and wakes the event
// loop, which the in-process line never does by itself.
struct WindowRig : ::testing::Test, SyncRig {
  void Load(const QString& mailFolder = {}, ImapStoreFactory imap = {}, PasswordAsker ask = {}) {
    settings.Write(QStringLiteral("Store"), QStringLiteral("Maildir"),
                   mailFolder.isEmpty() ? dir.path() : mailFolder);
    window = std::make_unique<MainWindow>(MainWindowServices{
        settings,
        line,
        clock,
        [this](const QString& root) {
          return std::make_unique<MaildirStore>(root, QLocale::c(), clock);
        },
        QLocale::c(),
        std::move(imap),
        &keyring,
        std::move(ask),
        {},
        reach ? reach : [](const ImapOptions&) -> StoreStatus { return Done{}; }});
    window->SetMessageBoxes(&boxes);
    window->SetYieldHook([this] {
      if (onYield) onYield();
      line.Pump();
      if (++yields > 100000) window->Break();  // a synchronisation that never ends
      QMetaObject::invokeMethod(
          qApp, [] {}, Qt::QueuedConnection);
    });
  }

  // Shows the window and lets its first-show rebuild of the tree run.
  void Show() {
    window->show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
  }

  QStringList StatusLines() const {
    QStringList lines;
    for (int i = 1; i <= 4; ++i) lines << window->Status(i);
    return lines;
  }
  QPushButton* Button(const char* name) const { return Control<QPushButton>(*window, name); }

  RecordingBoxes boxes;
  MemoryKeyring keyring;
  std::function<void()> onYield;
  std::function<StoreStatus(const ImapOptions&)> reach;  // none: every server is trusted
  int yields = 0;
  std::unique_ptr<MainWindow> window;
};

}  // namespace zandor::testing

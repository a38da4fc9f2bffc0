#pragma once

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

#include "mail/maildir/maildir_store.h"
#include "model/kelvo_device.h"
#include "settings/memory_settings_store.h"
#include "support/in_process_line.h"
#include "support/maildir_builder.h"
#include "sync/clock.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"
#include "ui_test_support.h"

namespace zandor::testing {

// The Maildir store, counting the tree rebuilds (each asks for the Inbox once).
class CountingStore final : public MailStore {
 public:
  CountingStore(const QString& root, const Clock& clock, int& inboxRequests)
      : inner_(root, QLocale::c(), clock), inboxRequests_(inboxRequests) {}

  StoreResult<FolderRef> GetDefaultFolder(DefaultFolder which) override {
    if (which == DefaultFolder::Inbox) ++inboxRequests_;
    return inner_.GetDefaultFolder(which);
  }
  StoreResult<std::vector<FolderRef>> Subfolders(const FolderRef& folder) override {
    return inner_.Subfolders(folder);
  }
  StoreResult<std::unique_ptr<ItemCollection>> Items(const FolderRef& folder) override {
    return inner_.Items(folder);
  }
  std::unique_ptr<NewMailItem> CreateItem() override { return inner_.CreateItem(); }

 private:
  MaildirStore inner_;
  int& inboxRequests_;
};

// The real main window over a temporary Maildir, the Kelvo device model behind
// an in-process line, settings in memory, a clock standing at noon on
// 6 December 2026, and boxes answered as a user would.
struct WindowRig {
  WindowRig() : builder(dir.path(), MaildirLayout::PlusPlus), line(device) {}

  // Loads the window (the settings as they are now; the mail folder is the
  // temporary Maildir unless one is stored).
  void Load() {
    if (!settings.Read(QStringLiteral("Store"), QStringLiteral("Maildir"))) {
      settings.Write(QStringLiteral("Store"), QStringLiteral("Maildir"), dir.path());
    }
    window = std::make_unique<MainWindow>(
        MainWindowServices{settings, line, clock,
                           [this](const QString& root) -> std::unique_ptr<MailStore> {
                             ++storesMade;
                             return std::make_unique<CountingStore>(root, clock, inboxRequests);
                           },
                           QLocale::c()});
    window->SetMessageBoxes(&boxes);
  }

  // Shows the window and lets its first-show step run.
  void Show() {
    window->show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
  }

  // Steps the device model at every yield, and wakes the yield so that it
  // never sleeps on the model (which raises no events of its own).
  void DriveLineInYields() {
    window->SetYieldHook([this] {
      line.Pump();
      ++yields;
      if (yields > 200000 && !window->Session().BreakRequested) {
        ADD_FAILURE() << "the synchronisation does not end";
        window->Break();
      }
      QMetaObject::invokeMethod(
          qApp, [] {}, Qt::QueuedConnection);
    });
  }

  QStringList StatusLines() const {
    QStringList lines;
    for (int i = 1; i <= 4; ++i) lines << window->Status(i);
    return lines;
  }

  QPushButton* Button(const char* name) const { return Control<QPushButton>(*window, name); }

  QTemporaryDir dir;
  MaildirBuilder builder;
  MemorySettingsStore settings;
  FixedClock clock{QDateTime(QDate(2026, 12, 6), QTime(12, 0))};
  sim::KelvoDevice device;
  InProcessLine line;
  RecordingBoxes boxes;
  int storesMade = 0;
  int inboxRequests = 0;
  int yields = 0;
  std::unique_ptr<MainWindow> window;
};

}  // namespace zandor::testing

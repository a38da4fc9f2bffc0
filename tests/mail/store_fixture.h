#pragma once

#include <QLocale>
#include <QTemporaryDir>
#include <memory>

#include "mail/maildir/maildir_store.h"
#include "support/maildir_builder.h"

namespace zandor::testing {

// A Maildir in a temporary folder, its builder and a store on it, with the
// clock standing at 3 March 2026 12:00 local time.
struct StoreFixture {
  explicit StoreFixture(MaildirLayout layout,
                        const QLocale& storeLocale = QLocale(QStringLiteral("en_US")))
      : builder(dir.path(), layout),
        clock(QDateTime(QDate(2026, 3, 3), QTime(12, 0))),
        locale(storeLocale),
        store(std::make_unique<MaildirStore>(dir.path(), locale, clock)) {
    builder.Folder(Path({"Inbox"}));
  }

  FolderRef Ref(const QStringList& path) const {
    return FolderRef{builder.EntryIdOf(path), path.back()};
  }
  std::unique_ptr<ItemCollection> Items(const QStringList& path) {
    auto items = store->Items(Ref(path));
    if (!items) ADD_FAILURE() << items.reason().toStdString();
    return items ? std::move(items.value()) : nullptr;
  }
  // The message of that entry id in the folder, found through the seam.
  std::unique_ptr<MailItem> Find(const QStringList& path, const QString& entryId) {
    auto items = Items(path);
    if (!items) return nullptr;
    for (auto item = items->Find(AllFilter()); item; item = items->FindNext()) {
      if (item->EntryId() == entryId) return item;
    }
    return nullptr;
  }
  QString AllFilter() const {
    return QStringLiteral("[ReceivedTime] >= \"%1\" ")
        .arg(locale.toString(QDate(1980, 1, 1), QLocale::ShortFormat));
  }
  // A second store on the same root, as a later run of the program sees it.
  std::unique_ptr<MaildirStore> Reopen() {
    return std::make_unique<MaildirStore>(dir.path(), locale, clock);
  }

  QTemporaryDir dir;
  MaildirBuilder builder;
  FixedClock clock;
  QLocale locale;
  std::unique_ptr<MaildirStore> store;
};

}  // namespace zandor::testing

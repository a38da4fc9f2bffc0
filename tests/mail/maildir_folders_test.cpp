// The folder trees of Maildirs in both layouts, as the store shows them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <vector>

#include "mail/maildir/maildir_store.h"
#include "support/maildir_builder.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using testing::MaildirBuilder;
using testing::MaildirLayout;
using testing::Path;

// The tree below a folder as "Name(Child,Child(Grandchild))".
std::string Dump(MailStore& store, const FolderRef& folder) {
  std::string out = folder.Name.toStdString();
  auto children = store.Subfolders(folder);
  if (!children) return out + "<" + children.reason().toStdString() + ">";
  if (children->empty()) return out;
  out += "(";
  for (size_t i = 0; i < children->size(); ++i) {
    if (i > 0) out += ",";
    out += Dump(store, (*children)[i]);
  }
  return out + ")";
}

struct TreeRow {
  std::string name;
  MaildirLayout layout;
  std::vector<QStringList> folders;
  std::string inbox;  // the Inbox tree
  std::string sent;   // the Sent Items tree
};

std::vector<TreeRow> TreeRows() {
  std::vector<TreeRow> rows;
  for (MaildirLayout layout : {MaildirLayout::PlusPlus, MaildirLayout::Nested}) {
    const std::string suffix = testing::LayoutName(layout);
    auto row = [&](const char* name, std::vector<QStringList> folders, const char* inbox,
                   const char* sent) {
      rows.push_back({name + suffix, layout, std::move(folders), inbox, sent});
    };
    row("Nested",
        {Path({"Inbox"}), Path({"Inbox", "Work"}), Path({"Inbox", "Work", "2026"}),
         Path({"Inbox", "Work", "Old"}), Path({"Inbox", "Archive"}), Path({"Sent"}),
         Path({"Sent", "2025"})},
        "Inbox(Archive,Work(2026,Old))", "Sent(2025)");
    row("SameNamesInDifferentPlaces",
        {Path({"Inbox", "Lists", "Qt"}), Path({"Inbox", "Projects", "Qt"}), Path({"Sent", "Qt"})},
        "Inbox(Lists(Qt),Projects(Qt))", "Sent(Qt)");
    row("NonAsciiNames",
        {Path({"Inbox", "日本"}), Path({"Inbox", "Café & Bar"}), Path({"Inbox", "Отправленные"}),
         Path({"Sent", "Ärger"})},
        "Inbox(Café & Bar,Отправленные,日本)", "Sent(Ärger)");
    row("OrderIgnoresCase",
        {Path({"Inbox", "beta"}), Path({"Inbox", "Alpha"}), Path({"Inbox", "Gamma"})},
        "Inbox(Alpha,beta,Gamma)", "Sent");
    row("DefaultFoldersStayOutOfTheInbox",
        {Path({"Inbox"}), Path({"Drafts"}), Path({"Trash"}), Path({"Outbox"}), Path({"Sent"}),
         Path({"Trash", "Old"})},
        "Inbox", "Sent");
    row("OtherTopLevelFoldersHangUnderTheInbox",
        {Path({"Inbox", "Work"}), Path({"Lists"}), Path({"Lists", "Qt"})}, "Inbox(Lists(Qt),Work)",
        "Sent");
    row("SentItemsAlias", {Path({"Inbox"}), Path({"Sent Items"}), Path({"Sent Items", "2024"})},
        "Inbox", "Sent Items(2024)");
    row("EmptyRoot", {}, "Inbox", "Sent");
  }
  return rows;
}

class FolderTree : public ::testing::TestWithParam<TreeRow> {};

TEST_P(FolderTree, ShowsTheFoldersByName) {
  const TreeRow& row = GetParam();
  QTemporaryDir dir;
  MaildirBuilder builder(dir.path(), row.layout);
  for (const QStringList& folder : row.folders) builder.Folder(folder);
  FixedClock clock(QDateTime(QDate(2026, 3, 3), QTime(12, 0)));
  MaildirStore store(dir.path(), QLocale(QStringLiteral("en_US")), clock);

  auto inbox = store.GetDefaultFolder(DefaultFolder::Inbox);
  ASSERT_TRUE(inbox.ok()) << inbox.reason().toStdString();
  auto sent = store.GetDefaultFolder(DefaultFolder::SentItems);
  ASSERT_TRUE(sent.ok()) << sent.reason().toStdString();
  EXPECT_EQ(Dump(store, inbox.value()), row.inbox);
  EXPECT_EQ(Dump(store, sent.value()), row.sent);

  // Every folder built is reached under the entry id of its path, which is
  // stable: a second store on the same root gives the same ids.
  MaildirStore again(dir.path(), QLocale(QStringLiteral("en_US")), clock);
  std::vector<QString> seen;
  std::function<void(const FolderRef&)> walk = [&](const FolderRef& folder) {
    seen.push_back(folder.EntryId);
    auto children = again.Subfolders(folder);
    ASSERT_TRUE(children.ok());
    for (const FolderRef& child : children.value()) walk(child);
  };
  walk(inbox.value());
  walk(sent.value());
  for (DefaultFolder other : {DefaultFolder::Drafts, DefaultFolder::Trash, DefaultFolder::Outbox}) {
    auto folder = again.GetDefaultFolder(other);
    ASSERT_TRUE(folder.ok());
    walk(folder.value());
  }
  for (const QStringList& folder : row.folders) {
    const QString id = builder.EntryIdOf(folder);
    EXPECT_NE(std::find(seen.begin(), seen.end(), id), seen.end()) << id.toStdString();
  }
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end()) << "entry ids are unique";
}

INSTANTIATE_TEST_SUITE_P(Rows, FolderTree, ::testing::ValuesIn(TreeRows()), testing::RowName());

struct DefaultRow {
  std::string name;
  MaildirLayout layout;
  DefaultFolder which;
  const char* entryId;
  const char* folderName;
};

class DefaultFolderCreation : public ::testing::TestWithParam<DefaultRow> {};

TEST_P(DefaultFolderCreation, MissingDefaultFolderIsCreatedWithItsThreeSubdirectories) {
  const DefaultRow& row = GetParam();
  QTemporaryDir dir;
  MaildirBuilder builder(dir.path(), row.layout);
  if (row.layout == MaildirLayout::Nested) builder.Folder(Path({"Inbox"}));  // marks the layout
  if (row.layout == MaildirLayout::PlusPlus) builder.Folder(Path({"Inbox", "Work"}));
  FixedClock clock(QDateTime(QDate(2026, 3, 3), QTime(12, 0)));
  MaildirStore store(dir.path(), QLocale::c(), clock);

  auto folder = store.GetDefaultFolder(row.which);
  ASSERT_TRUE(folder.ok()) << folder.reason().toStdString();
  EXPECT_EQ(folder->EntryId, QString::fromUtf8(row.entryId));
  EXPECT_EQ(folder->Name, QString::fromUtf8(row.folderName));
  const QString path = folder->EntryId == QStringLiteral(".")
                           ? dir.path()
                           : dir.path() + QLatin1Char('/') + folder->EntryId;
  for (const char* sub : {"cur", "new", "tmp"}) {
    EXPECT_TRUE(QDir(path + QLatin1Char('/') + QLatin1String(sub)).exists()) << sub;
  }
  auto items = store.Items(folder.value());
  ASSERT_TRUE(items.ok());
  EXPECT_EQ(items.value()->Count(), 0);
  // Asking again finds the same folder.
  auto again = store.GetDefaultFolder(row.which);
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(again->EntryId, folder->EntryId);
}

std::vector<DefaultRow> DefaultRows() {
  return {
      {"InboxPlusPlus", MaildirLayout::PlusPlus, DefaultFolder::Inbox, ".", "Inbox"},
      {"SentPlusPlus", MaildirLayout::PlusPlus, DefaultFolder::SentItems, ".Sent", "Sent"},
      {"OutboxPlusPlus", MaildirLayout::PlusPlus, DefaultFolder::Outbox, ".Outbox", "Outbox"},
      {"DraftsPlusPlus", MaildirLayout::PlusPlus, DefaultFolder::Drafts, ".Drafts", "Drafts"},
      {"TrashPlusPlus", MaildirLayout::PlusPlus, DefaultFolder::Trash, ".Trash", "Trash"},
      {"InboxNested", MaildirLayout::Nested, DefaultFolder::Inbox, "Inbox", "Inbox"},
      {"SentNested", MaildirLayout::Nested, DefaultFolder::SentItems, "Sent", "Sent"},
      {"OutboxNested", MaildirLayout::Nested, DefaultFolder::Outbox, "Outbox", "Outbox"},
      {"DraftsNested", MaildirLayout::Nested, DefaultFolder::Drafts, "Drafts", "Drafts"},
      {"TrashNested", MaildirLayout::Nested, DefaultFolder::Trash, "Trash", "Trash"},
  };
}

INSTANTIATE_TEST_SUITE_P(Rows, DefaultFolderCreation, ::testing::ValuesIn(DefaultRows()),
                         testing::RowName());

FixedClock& TestClock() {
  static FixedClock clock(QDateTime(QDate(2026, 3, 3), QTime(12, 0)));
  return clock;
}

TEST(FolderLayoutDetection, UpperCaseInboxOfANestedStoreIsTheInbox) {
  QTemporaryDir dir;
  MaildirBuilder builder(dir.path(), MaildirLayout::Nested);
  builder.Folder(Path({"INBOX", "Work"}));
  MaildirStore store(dir.path(), QLocale::c(), TestClock());
  auto inbox = store.GetDefaultFolder(DefaultFolder::Inbox);
  ASSERT_TRUE(inbox.ok());
  EXPECT_EQ(inbox->EntryId, QStringLiteral("INBOX"));
  EXPECT_EQ(Dump(store, inbox.value()), "Inbox(Work)");
  EXPECT_FALSE(QDir(dir.path() + QStringLiteral("/Inbox")).exists());
}

TEST(FolderLayoutDetection, MissingParentOfADottedFolderIsShownWithoutMessages) {
  QTemporaryDir dir;
  MaildirBuilder builder(dir.path(), MaildirLayout::PlusPlus);
  builder.Folder(Path({"Inbox", "Work", "2026"}));
  QDir(dir.path() + QStringLiteral("/.Work")).removeRecursively();
  MaildirStore store(dir.path(), QLocale::c(), TestClock());
  auto inbox = store.GetDefaultFolder(DefaultFolder::Inbox);
  ASSERT_TRUE(inbox.ok());
  EXPECT_EQ(Dump(store, inbox.value()), "Inbox(Work(2026))");
  auto items = store.Items(FolderRef{QStringLiteral(".Work"), QStringLiteral("Work")});
  ASSERT_TRUE(items.ok()) << items.reason().toStdString();
  EXPECT_EQ(items.value()->Count(), 0);
}

TEST(FolderLayoutDetection, NestedParentWithoutMessagesLeadsToItsChildren) {
  QTemporaryDir dir;
  MaildirBuilder builder(dir.path(), MaildirLayout::Nested);
  builder.Folder(Path({"Inbox"}));
  QDir().mkpath(dir.path() + QStringLiteral("/Inbox/Projects/Zandor/cur"));
  MaildirStore store(dir.path(), QLocale::c(), TestClock());
  auto inbox = store.GetDefaultFolder(DefaultFolder::Inbox);
  ASSERT_TRUE(inbox.ok());
  EXPECT_EQ(Dump(store, inbox.value()), "Inbox(Projects(Zandor))");
}

struct FailureRow {
  std::string name;
  std::function<void(const QString& root)> spoil;
  std::function<bool(MailStore&)> fails;  // true when the operation failed as expected
};

class FolderFailures : public ::testing::TestWithParam<FailureRow> {};

TEST_P(FolderFailures, ComeBackAsFailuresWithAReason) {
  QTemporaryDir dir;
  MaildirBuilder builder(dir.path(), MaildirLayout::PlusPlus);
  builder.Folder(Path({"Inbox", "Work"}));
  builder.Folder(Path({"Sent"}));
  GetParam().spoil(dir.path());
  MaildirStore store(dir.path(), QLocale::c(), TestClock());
  EXPECT_TRUE(GetParam().fails(store));
}

const FolderRef kWork{QStringLiteral(".Work"), QStringLiteral("Work")};

INSTANTIATE_TEST_SUITE_P(
    Rows, FolderFailures,
    ::testing::Values(
        FailureRow{"RootRemoved", [](const QString& root) { QDir(root).removeRecursively(); },
                   [](MailStore& store) {
                     auto inbox = store.GetDefaultFolder(DefaultFolder::Inbox);
                     return !inbox.ok() &&
                            inbox.reason().contains(QStringLiteral("does not exist"));
                   }},
        FailureRow{
            "FolderRemovedBeforeListing",
            [](const QString& root) { QDir(root + QStringLiteral("/.Work")).removeRecursively(); },
            [](MailStore& store) {
              auto items = store.Items(kWork);
              auto children = store.Subfolders(kWork);
              return !items.ok() && !children.ok() &&
                     items.reason().contains(QStringLiteral("no longer exists"));
            }},
        FailureRow{"CurIsAFile",
                   [](const QString& root) {
                     QDir(root + QStringLiteral("/.Sent/cur")).removeRecursively();
                     QDir(root + QStringLiteral("/.Sent/new")).removeRecursively();
                     QFile file(root + QStringLiteral("/.Sent/new"));
                     file.open(QIODevice::WriteOnly);
                     QDir().mkpath(root + QStringLiteral("/.Sent/cur"));
                   },
                   [](MailStore& store) {
                     auto items = store.Items({QStringLiteral(".Sent"), QStringLiteral("Sent")});
                     return !items.ok() && items.reason().contains(QStringLiteral("new"));
                   }},
        FailureRow{"TrashCannotBeCreated",
                   [](const QString& root) {
                     QFile file(root + QStringLiteral("/.Trash"));
                     file.open(QIODevice::WriteOnly);
                   },
                   [](MailStore& store) {
                     auto trash = store.GetDefaultFolder(DefaultFolder::Trash);
                     return !trash.ok() && trash.reason().contains(QStringLiteral(".Trash"));
                   }},
        FailureRow{
            "ForeignEntryId", [](const QString&) {},
            [](MailStore& store) {
              auto items = store.Items({QStringLiteral("../etc"), QStringLiteral("etc")});
              auto other = store.Subfolders({QStringLiteral("Inbox/Work"), QStringLiteral("Work")});
              return !items.ok() && !other.ok();
            }}),
    testing::RowName());

}  // namespace
}  // namespace zandor

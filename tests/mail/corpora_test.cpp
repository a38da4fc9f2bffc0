// Real mail: a Maildir built from the shared corpora, every property of every
// message read through the store, and a handful of them checked by hand.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <functional>
#include <map>

#include "store_fixture.h"

namespace zandor {
namespace {

using testing::MaildirLayout;
using testing::StoreFixture;

QString CorporaDir() {
  return QString::fromUtf8(ZANDOR_CORPORA_DIR);
}

struct Expected {
  const char* subject;
  const char* sender;
  const char* bodyStart;  // the body begins so
  const char* bodyHasNot = nullptr;
};

// Corpus file (relative path) -> what its properties read.
const std::map<QString, Expected>& HandPicked() {
  static const std::map<QString, Expected> picked = {
      {QStringLiteral("default/cur/53:2,"),
       {"Essai accentué", "Olivier Berger",
        "Du texte accentué pour ça ...\r\n\r\nà la bonne heure !\r\n-- \r\nOlivier BERGER \r\n"}},
      {QStringLiteral("default/cur/41:2,"),
       {"[notmuch] Working with Maildir storage?", "Carl Worth",
        "On Tue, 17 Nov 2009 14:00:54 -0500, Lars Kellogg-Stedman <lars at seas.harvard.edu> "
        "wrote:\r\n"}},
      {QStringLiteral("html/embedded-image"),
       {"Tack alla trafikanter och fotgängare!", "malmoborg", ""}},
      {QStringLiteral("html/attribute-text"),
       {"test html attachment", "David Bremner", "hunter2", "swordfish"}},
      {QStringLiteral("broken/empty-part"),
       {"Post to freebsd-hackers@FreeBSD.org denied: Re: rcd(8) - new service manager daemon",
        nullptr, ""}},
  };
  return picked;
}

TEST(RealMail, EveryPropertyOfEveryMessageReads) {
  if (!QDir(CorporaDir()).exists()) {
    GTEST_SKIP() << "the mail corpora are not at " << CorporaDir().toStdString()
                 << " (ZANDOR_CORPORA_DIR); real-mail reading is not tested";
  }
  for (MaildirLayout layout : {MaildirLayout::PlusPlus, MaildirLayout::Nested}) {
    SCOPED_TRACE(testing::LayoutName(layout));
    StoreFixture fixture(layout, QLocale::c());
    // Each corpus file becomes a message of a folder named after its directory.
    std::map<QString, QString> uniqueOf;  // corpus path -> unique name
    QDirIterator it(CorporaDir(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString path = it.next();
      const QString relative = QDir(CorporaDir()).relativeFilePath(path);
      if (relative == QStringLiteral("README.md")) continue;
      QStringList folder = relative.split(QLatin1Char('/'));
      folder.removeLast();
      folder.replaceInStrings(QStringLiteral("cur"), QStringLiteral("c"))
          .replaceInStrings(QStringLiteral("new"), QStringLiteral("n"));
      folder.prepend(QStringLiteral("Inbox"));
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      QString unique = relative;
      unique.replace(QLatin1Char('/'), QLatin1Char('_'))
          .replace(QLatin1Char(':'), QLatin1Char('_'));
      uniqueOf[relative] = fixture.builder.AddRaw(folder, file.readAll(), unique);
    }
    ASSERT_GT(uniqueOf.size(), 60u);

    // Walk every folder of the Inbox tree and read everything.
    std::map<QString, std::map<ItemText, QString>> read;
    std::function<void(const FolderRef&)> walk = [&](const FolderRef& folder) {
      auto items = fixture.store->Items(folder);
      ASSERT_TRUE(items.ok()) << items.reason().toStdString();
      const QString all = QStringLiteral("[ReceivedTime] >= \"1 Jan 1900\" ");
      ASSERT_EQ(items.value()->CountRestricted(all).value(), items.value()->Count());
      items.value()->SortByReceivedTime();
      for (auto item = items.value()->Find(all); item; item = items.value()->FindNext()) {
        for (ItemText which : {ItemText::Subject, ItemText::SenderName, ItemText::To, ItemText::CC,
                               ItemText::BCC, ItemText::Body}) {
          auto text = item->Text(which);
          ASSERT_TRUE(text.ok()) << item->EntryId().toStdString() << ": "
                                 << text.reason().toStdString();
          read[item->EntryId()][which] = text.value();
        }
        EXPECT_TRUE(item->ReceivedTime().ok()) << item->EntryId().toStdString();
        EXPECT_TRUE(item->SentOn().ok()) << item->EntryId().toStdString();
        EXPECT_EQ(item->KelvoSent(), std::nullopt);
      }
      auto children = fixture.store->Subfolders(folder);
      ASSERT_TRUE(children.ok());
      for (const FolderRef& child : children.value()) walk(child);
    };
    walk(fixture.store->GetDefaultFolder(DefaultFolder::Inbox).value());
    EXPECT_EQ(read.size(), uniqueOf.size()) << "every message is found once";

    for (const auto& [corpusPath, expected] : HandPicked()) {
      SCOPED_TRACE(corpusPath.toStdString());
      const auto found = read.find(uniqueOf[corpusPath]);
      ASSERT_NE(found, read.end());
      const auto& texts = found->second;
      EXPECT_EQ(texts.at(ItemText::Subject), QString::fromUtf8(expected.subject));
      if (expected.sender != nullptr) {
        EXPECT_EQ(texts.at(ItemText::SenderName), QString::fromUtf8(expected.sender));
      }
      EXPECT_TRUE(texts.at(ItemText::Body).startsWith(QString::fromUtf8(expected.bodyStart)))
          << texts.at(ItemText::Body).left(300).toStdString();
      if (expected.bodyHasNot != nullptr) {
        EXPECT_FALSE(texts.at(ItemText::Body).contains(QString::fromUtf8(expected.bodyHasNot)));
      }
      EXPECT_FALSE(
          texts.at(ItemText::Body).contains(QRegularExpression(QStringLiteral("[^\\r]\\n"))))
          << "line ends are CR LF";
    }
  }
}

}  // namespace
}  // namespace zandor

#pragma once

// Builds Maildirs for tests, in either layout, with messages whose headers,
// received time and body are given. The sync tests use it to set up stores.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <optional>
#include <set>

namespace zandor::testing {

enum class MaildirLayout { PlusPlus, Nested };

// A folder path from UTF-8 literals: Path({"Inbox", "Work"}).
QStringList Path(std::initializer_list<const char*> elements);

const char* LayoutName(MaildirLayout layout);

struct TestMessage {
  QString subject = QStringLiteral("Test message");
  QString from = QStringLiteral("Ann Example <ann@example.org>");
  QString to = QStringLiteral("Bob Example <bob@example.org>");
  QString body = QStringLiteral("Hello.\n");
  // Written as the topmost Received field; none when unset.
  std::optional<QDateTime> received;
  // The Date field; none when unset.
  std::optional<QDateTime> date;
};

class MaildirBuilder {
 public:
  MaildirBuilder(QString root, MaildirLayout layout);

  const QString& Root() const { return root_; }

  // A folder by its decoded path: {"Inbox"}, {"Inbox", "Work", "2026"},
  // {"Sent"}, {"Drafts"}, {"Trash"}, or a top-level folder such as {"Work"}.
  // Names are written in modified UTF-7. Creates it with cur/, new/ and tmp/
  // and returns its directory.
  QString Folder(const QStringList& path);
  // The folder's entry id in the store: ".", ".Work.2026", "Inbox/Work".
  QString EntryIdOf(const QStringList& path) const;

  // Writes a message into the folder (creating it), in cur/ with flag S and
  // an ASCII header (LF line ends); returns its fresh unique name.
  QString Add(const QStringList& folder, const TestMessage& message);
  // Writes raw bytes as a message file; returns its unique name.
  QString AddRaw(const QStringList& folder, const QByteArray& raw, QString unique = QString(),
                 const QString& flags = QStringLiteral("S"), bool inNew = false);

  // A date as mail headers write it.
  static QByteArray DateText(const QDateTime& time);

 private:
  QString RelativeDir(const QStringList& path) const;

  QString root_;
  MaildirLayout layout_;
  int next_ = 0;
};

// Every message file under a Maildir (cur/ and new/ of every folder), by
// content hash: what no synchronisation may rewrite or lose.
std::multiset<QByteArray> MessageContents(const QString& root);

}  // namespace zandor::testing

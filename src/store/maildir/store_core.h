#pragma once

// What the store's collections and items share: the root, the locale, the
// clock, the GMime options and the state database. Private to the store.

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <optional>

#include "session/clock.h"
#include "store/kelvo_state_db.h"
#include "store/mail_store.h"
#include "store/maildir/folder_layout.h"
#include "store/maildir/header_block.h"
#include "store/mime/gmime_ptr.h"
#include "store/mime/message_reader.h"

namespace zandor::maildir {

// The shared MIME reading and writing, by their short names.
using mime::BodyTextOf;
using mime::EnsureGMimeInitialised;
using mime::HeaderTexts;
using mime::MakeParserOptions;
using mime::ParseHeaderTexts;
using mime::ParseMailDate;
using mime::ParserOptionsPtr;
using mime::ReadBodyText;

struct StoreCore {
  StoreCore(QString rootPath, QLocale storeLocale, const Clock& storeClock);

  // The directory of a default folder, created when missing.
  StoreResult<QByteArray> DefaultFolderDir(DefaultFolder which);

  QString root;
  QLocale locale;
  const Clock& clock;
  ParserOptionsPtr options;
  KelvoStateDb state;
};

// The received time of a message, by the store's rule: the date of the
// topmost Received field, else the delivery time in the unique name, else
// Date, else the file's modification time. header is null when the file
// could not be read.
std::optional<qint64> ReceivedMsecs(const HeaderBlock* header, const QString& unique);

// A message of a folder as the collection lists it.
struct MessageEntry {
  QString unique;
  QByteArray path;
  std::optional<qint64> received;
  bool receivedKnown = false;  // received holds the result of the rule
};

}  // namespace zandor::maildir

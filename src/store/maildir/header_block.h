#pragma once

// The header block of a message file, read without the body: counting and
// sorting a folder need only its Received and Date fields.

#include <QByteArray>
#include <optional>

#include "store/mime/message_reader.h"
#include "store/store_result.h"

namespace zandor::maildir {

struct HeaderBlock {
  QByteArray bytes;      // from the start of the file to the empty line that ends the header
  qint64 modifiedMsecs;  // the file's modification time
};

// Reads the header block. A header longer than maxBytes is cut there (the
// fields after it are not seen). errorOut receives errno on failure.
StoreResult<HeaderBlock> ReadHeaderBlock(const QByteArray& path, int* errorOut = nullptr,
                                         qsizetype maxBytes = 1024 * 1024);

using mime::FirstHeaderValue;

}  // namespace zandor::maildir

#pragma once

#include <QString>
#include <optional>

namespace zandor {

// Modified UTF-7, the form in which IMAP servers (Dovecot by default) store
// folder names on disk: "&BB4EQgQ,BEAEMAQy-" is "Отправ".

// The name a folder element stands for; nullopt when the text is not valid
// modified UTF-7 (a server set up for UTF-8 names), so the caller shows it raw.
std::optional<QString> DecodeModifiedUtf7(const QString& text);

// The on-disk form of a folder element.
QString EncodeModifiedUtf7(const QString& name);

// The decoded name, or the text itself when it is not modified UTF-7.
QString DisplayFolderName(const QString& element);

}  // namespace zandor

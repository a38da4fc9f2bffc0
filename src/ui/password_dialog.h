#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "front/password_keyring.h"
#include "settings/stored_options.h"

class QWidget;

namespace zandor {

// Asks the user for a password with the text given; nullopt when cancelled.
using PasswordAsker = std::function<std::optional<QString>(QWidget* parent, const QString& text)>;
// A QInputDialog whose field hides what is typed.
std::optional<QString> AskPassword(QWidget* parent, const QString& text);

// "Password of ann on mail.example.org:"
QString PasswordQuestion(const ImapOptions& imap);

}  // namespace zandor

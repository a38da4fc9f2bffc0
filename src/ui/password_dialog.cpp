#include "ui/password_dialog.h"

#include <QInputDialog>
#include <QLineEdit>

namespace zandor {

std::optional<QString> AskPassword(QWidget* parent, const QString& text) {
  bool ok = false;
  const QString password = QInputDialog::getText(parent, QStringLiteral("Zandor - IMAP Password"),
                                                 text, QLineEdit::Password, QString(), &ok);
  if (!ok) return std::nullopt;
  return password;
}

QString PasswordQuestion(const ImapOptions& imap) {
  return QStringLiteral("Password of %1 on %2:").arg(imap.user.trimmed(), imap.host.trimmed());
}

}  // namespace zandor

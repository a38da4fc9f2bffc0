#include "ui/password_dialog.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QLineEdit>

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(PasswordDialog)
};

}  // namespace

std::optional<QString> AskPassword(QWidget* parent, const QString& text) {
  bool ok = false;
  const QString password = QInputDialog::getText(parent, Text::tr("Zandor - IMAP Password"), text,
                                                 QLineEdit::Password, QString(), &ok);
  if (!ok) return std::nullopt;
  return password;
}

QString PasswordQuestion(const ImapOptions& imap) {
  //: %1 is the user name, %2 the IMAP server's name
  return Text::tr("Password of %1 on %2:").arg(imap.user.trimmed(), imap.host.trimmed());
}

}  // namespace zandor

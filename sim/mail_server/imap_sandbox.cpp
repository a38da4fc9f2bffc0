// imap-sandbox: serves a copy of a Maildir from a throwaway Dovecot on
// 127.0.0.1 until it is told to stop, for the demo and for trying Zandor's
// IMAP store by hand. Runs as root (Dovecot serves the mail as nobody).
//
//   imap-sandbox --from MAILDIR
//
// Prints one line, "<plain-text port> <user> <password> <served Maildir>",
// once the server answers, then serves until SIGTERM, SIGINT or SIGHUP; the
// server and its files go with it.
#include <signal.h>

#include <QCoreApplication>
#include <QProcess>
#include <cstdio>

#include "mail_server/dovecot_server.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  const qsizetype from = arguments.indexOf(QStringLiteral("--from"));
  if (from < 0 || from + 1 >= arguments.size()) {
    std::fputs("usage: imap-sandbox --from MAILDIR\n", stderr);
    return 2;
  }
  if (auto why = zandor::sim::DovecotServer::Unavailable()) {
    std::fprintf(stderr, "imap-sandbox: %s\n", why->c_str());
    return 1;
  }
  // The signals that stop it are waited for, never delivered, so that the
  // server is always stopped and its folder removed.
  sigset_t stops;
  sigemptyset(&stops);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&stops, signal);
  pthread_sigmask(SIG_BLOCK, &stops, nullptr);
  try {
    zandor::sim::DovecotServer server;
    if (QProcess::execute(QStringLiteral("cp"),
                          {QStringLiteral("-a"), arguments[from + 1] + QStringLiteral("/."),
                           server.MailRoot()}) != 0) {
      std::fputs("imap-sandbox: the Maildir could not be copied\n", stderr);
      return 1;
    }
    server.Own();
    const zandor::imap::Account account = server.Account(zandor::imap::Security::None);
    std::printf("%u %s %s %s\n", account.port, zandor::sim::DovecotServer::kUser,
                zandor::sim::DovecotServer::kPassword, qPrintable(server.MailRoot()));
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stops, &signal);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "imap-sandbox: %s\n", failure.what());
    return 1;
  }
  return 0;
}

#pragma once

#include <signal.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <functional>

#include "settings/qsettings_store.h"
#include "store/imap/imap_account.h"
#include "support/maildir_builder.h"

namespace zandor::testing {

// The real programs in a folder of their own: a settings home, a Maildir
// (Maildir++), the Kelvo's data file, kelvo-sim on a pseudo-terminal and
// zandor. The programs' tests and the line benchmark use it; the benchmark
// starts zandor itself, for the kernel's accounting.
class ProgramWorld {
 public:
  ProgramWorld() {
    Set(QStringLiteral("Store"), QStringLiteral("Maildir"), mail_.Root());
    env_.insert(QStringLiteral("XDG_CONFIG_HOME"), Path(QStringLiteral("config")));
    env_.insert(QStringLiteral("XDG_STATE_HOME"), Path(QStringLiteral("state")));
    env_.remove(QStringLiteral("DISPLAY"));
    env_.remove(QStringLiteral("WAYLAND_DISPLAY"));
  }
  ~ProgramWorld() { StopKelvo(); }

  MaildirBuilder& Mail() { return mail_; }
  // A message received an hour ago.
  QString Add(const QStringList& folder, const QString& subject, const QString& body = {}) {
    TestMessage message;
    message.subject = subject;
    if (!body.isEmpty()) message.body = body;
    message.received = message.date = QDateTime::currentDateTimeUtc().addSecs(-3600);
    return mail_.Add(folder, message);
  }
  void Set(const QString& section, const QString& key, const QString& value) {
    QSettingsStore(Settings()).Write(section, key, value);
  }
  // Zandor's store is the IMAP account, reached on the port given (the
  // server's own, or a proxy's before it), its password from a command.
  void UseImap(const imap::Account& account, quint16 port, const QString& password) {
    const auto set = [this](const char* key, const QString& value) {
      Set(QStringLiteral("Imap"), QString::fromLatin1(key), value);
    };
    Set(QStringLiteral("Store"), QStringLiteral("Kind"), QStringLiteral("imap"));
    set("Host", account.host);
    set("Port", QString::number(port));
    set("Security", account.security == imap::Security::Tls        ? QStringLiteral("tls")
                    : account.security == imap::Security::StartTls ? QStringLiteral("starttls")
                                                                   : QStringLiteral("none"));
    set("CertificateFile", account.certificateFile);
    set("User", account.user);
    set("PasswordCommand", QStringLiteral("echo ") + password);
  }
  QString Path(const QString& name) const { return dir_.filePath(name); }
  QString Settings() const { return Path(QStringLiteral("config/Zandor/Zandor.ini")); }
  QString Data() const { return Path(QStringLiteral("kelvo.json")); }
  QProcessEnvironment& Env() { return env_; }
  const QString& ZandorExe() const { return zandorExe_; }

  // Starts kelvo-sim and points Com 1 at its pseudo-terminal.
  bool StartKelvo(const QStringList& extra = {}) {
    kelvo_.setProcessEnvironment(env_);
    kelvo_.setProcessChannelMode(QProcess::ForwardedErrorChannel);  // its log, next to ours
    kelvo_.start(kelvoSimExe_,
                 QStringList{QStringLiteral("--pty"), QStringLiteral("--data"), Data()} + extra);
    if (!kelvo_.waitForReadyRead(20000)) return false;
    Set(QStringLiteral("Ports"), QStringLiteral("COM1"),
        QString::fromUtf8(kelvo_.readLine()).trimmed());
    return true;
  }
  void StopKelvo() {
    if (kelvo_.state() == QProcess::NotRunning) return;
    QThread::msleep(300);  // the simulator looks for a closed line ten times a second
    kelvo_.terminate();
    kelvo_.waitForFinished(20000);
  }

  struct Run {
    int status = -1;  // -1: killed or crashed
    QString out, err;
  };
  // Runs zandor; with killAfterMs it is killed that long after its start;
  // started is told its process id.
  Run Zandor(const QStringList& arguments, int killAfterMs = 0, int interruptAfterMs = 0,
             const QString& outputFile = {}, const std::function<void(qint64)>& started = {}) {
    QProcess zandor;
    zandor.setProcessEnvironment(env_);
    if (!outputFile.isEmpty()) zandor.setStandardOutputFile(outputFile);
    zandor.start(zandorExe_, arguments);
    if (started && zandor.waitForStarted()) started(zandor.processId());
    if (interruptAfterMs > 0 && !zandor.waitForFinished(interruptAfterMs)) {
      ::kill(static_cast<pid_t>(zandor.processId()), SIGINT);
    }
    if (killAfterMs > 0 && !zandor.waitForFinished(killAfterMs)) zandor.kill();
    if (!zandor.waitForFinished(120000)) zandor.kill();
    zandor.waitForFinished();
    return {zandor.exitStatus() == QProcess::NormalExit ? zandor.exitCode() : -1,
            QString::fromUtf8(zandor.readAllStandardOutput()),
            QString::fromUtf8(zandor.readAllStandardError())};
  }

  // The entry ids the Kelvo holds, from its data file (the simulator stopped);
  // withSubject adds each record's subject ("id#2>Subject" for a split part).
  QStringList Held(bool withSubject = false) const {
    QStringList ids;
    for (const QJsonValue& held : HeldRecords()) {
      // An id that is not UTF-8 comes as {"bytes": ...}.
      const QJsonValue id = held.toObject().value(QStringLiteral("entryId"));
      ids << (id.isObject() ? QStringLiteral("bytes:") + id[QStringLiteral("bytes")].toString()
                            : id.toString());
      if (withSubject)
        ids.back() += QLatin1Char('#') + held[QStringLiteral("record")][0].toString();
    }
    return ids;
  }
  // The text of each record the Kelvo holds, its fields joined by '|'.
  QStringList HeldTexts() const {
    QStringList texts;
    for (const QJsonValue& held : HeldRecords()) {
      QStringList fields;
      for (const QJsonValue& field : held[QStringLiteral("record")].toArray())
        fields << field.toString();
      texts << fields.join(QLatin1Char('|'));
    }
    return texts;
  }
  // A Kelvo whose only messages are written on it, one per body.
  void WriteKelvo(const QStringList& bodies = {},
                  const QString& to = QStringLiteral("ann@example.org")) {
    QJsonArray notes;
    for (const QString& body : bodies)
      notes.append(QJsonObject{{QStringLiteral("subject"), QStringLiteral("From the road")},
                               {QStringLiteral("to"), to},
                               {QStringLiteral("body"), body}});
    const QJsonObject data{{QStringLiteral("format"), QStringLiteral("kelvo-data")},
                           {QStringLiteral("version"), 1},
                           {QStringLiteral("text"), QStringLiteral("western")},
                           {QStringLiteral("written"), notes}};
    QFile file(Data());
    if (file.open(QIODevice::WriteOnly)) file.write(QJsonDocument(data).toJson());
  }

 private:
  QJsonArray HeldRecords() const {
    QFile file(Data());
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(file.readAll())[QStringLiteral("held")].toArray();
  }
  // The programs built with the tests, or the copies the variables name (a
  // wrapper that runs zandor under strace, for instance).
  const QString zandorExe_ = qEnvironmentVariable("ZANDOR_EXE", QStringLiteral(ZANDOR_EXE));
  const QString kelvoSimExe_ = qEnvironmentVariable("KELVO_SIM_EXE", QStringLiteral(KELVO_SIM_EXE));
  QTemporaryDir dir_;
  MaildirBuilder mail_{dir_.filePath(QStringLiteral("Maildir")), MaildirLayout::PlusPlus};
  QProcessEnvironment env_ = QProcessEnvironment::systemEnvironment();
  QProcess kelvo_;
};

}  // namespace zandor::testing

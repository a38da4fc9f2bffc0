#include "e2e_world.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include "settings/qsettings_store.h"

namespace zandor::testing {
namespace {

constexpr int kStartMs = 20000;

QProcessEnvironment RunEnvironment(const QString& configHome) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
  environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
  environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
  environment.remove(QStringLiteral("DISPLAY"));
  environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
  return environment;
}

ProcessRun Finish(QProcess& process, QByteArray out, QByteArray err, bool finished) {
  out += process.readAllStandardOutput();
  err += process.readAllStandardError();
  ProcessRun run;
  run.finished = finished;
  run.crashed = process.exitStatus() == QProcess::CrashExit;
  run.exitCode = process.exitCode();
  run.out = QString::fromUtf8(out);
  run.err = QString::fromUtf8(err);
  // Under the sanitizers a finding ends the program with status 1, which a
  // test may expect for other reasons: look for the report itself.
  for (const char* report : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"}) {
    if (run.err.contains(QLatin1String(report))) {
      ADD_FAILURE() << process.program().toStdString() << ": " << run.err.toStdString();
      break;
    }
  }
  return run;
}

}  // namespace

E2eWorld::E2eWorld() : mail_(dir_.filePath(QStringLiteral("Maildir")), MaildirLayout::PlusPlus) {
  QDir().mkpath(Path(QStringLiteral("config/Zandor")));
  mail_.Folder(testing::Path({"Inbox"}));
}

E2eWorld::~E2eWorld() {
  if (kelvo_ && kelvo_->state() != QProcess::NotRunning) {
    kelvo_->kill();
    kelvo_->waitForFinished(kStartMs);
  }
}

void E2eWorld::WriteKelvoData(const std::vector<KelvoWritten>& written, const QJsonArray& held) {
  QJsonArray messages;
  for (const KelvoWritten& message : written) {
    messages.append(QJsonObject{{QStringLiteral("subject"), message.subject},
                                {QStringLiteral("to"), message.to},
                                {QStringLiteral("body"), message.body}});
  }
  WriteKelvoData(QJsonObject{{QStringLiteral("format"), QStringLiteral("kelvo-data")},
                             {QStringLiteral("version"), 1},
                             {QStringLiteral("separator"), 254},
                             {QStringLiteral("text"), QStringLiteral("western")},
                             {QStringLiteral("nextDeviceId"), QStringLiteral("00000100")},
                             {QStringLiteral("written"), messages},
                             {QStringLiteral("held"), held}});
}

void E2eWorld::WriteKelvoData(const QJsonObject& data) {
  QFile file(Path(QStringLiteral("kelvo.json")));
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    file.write(QJsonDocument(data).toJson());
  }
}

QJsonObject E2eWorld::ReadKelvoData() const {
  QFile file(Path(QStringLiteral("kelvo.json")));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QJsonDocument::fromJson(file.readAll()).object();
}

void E2eWorld::WriteSetting(const QString& section, const QString& key, const QString& value) {
  QSettingsStore(Path(QStringLiteral("config/Zandor/Zandor.ini"))).Write(section, key, value);
}

void E2eWorld::WriteSettings(const QString& portPath) {
  WriteSetting(QStringLiteral("Com"), QStringLiteral("Port"), QStringLiteral("1"));
  WriteSetting(QStringLiteral("Sync"), QStringLiteral("Days"), QStringLiteral("5"));
  WriteSetting(QStringLiteral("Ports"), QStringLiteral("COM1"), portPath);
  WriteSetting(QStringLiteral("Store"), QStringLiteral("Maildir"), MaildirRoot());
}

void E2eWorld::ReadKelvoOutput(int waitMs) {
  kelvo_->waitForReadyRead(waitMs);
  kelvoOut_ += kelvo_->readAllStandardOutput();
  kelvoErr_ += QString::fromUtf8(kelvo_->readAllStandardError());
}

QString E2eWorld::StartKelvo(const QStringList& extra) {
  kelvo_ = std::make_unique<QProcess>();
  kelvo_->setProcessEnvironment(RunEnvironment(Path(QStringLiteral("config"))));
  kelvo_->start(QStringLiteral(KELVO_SIM_EXE),
                QStringList{QStringLiteral("--pty"), QStringLiteral("--data"),
                            Path(QStringLiteral("kelvo.json")), QStringLiteral("--trace"),
                            Path(QStringLiteral("kelvo.trace"))} +
                    extra);
  if (!kelvo_->waitForStarted(kStartMs)) return QString();
  return NextKelvoLine();
}

QString E2eWorld::NextKelvoLine() {
  QDeadlineTimer deadline(kStartMs);
  while (!kelvoOut_.contains('\n') && !deadline.hasExpired() &&
         kelvo_->state() == QProcess::Running) {
    ReadKelvoOutput(100);
  }
  const qsizetype end = kelvoOut_.indexOf('\n');
  if (end < 0) return QString();
  const QString path = QString::fromLocal8Bit(kelvoOut_.left(end)).trimmed();
  kelvoOut_.remove(0, end + 1);
  WriteSettings(path);
  return path;
}

bool E2eWorld::WaitForKelvoLog(const QString& text, int count) {
  QDeadlineTimer deadline(kStartMs);
  while (kelvoErr_.count(text) < count && !deadline.hasExpired() &&
         kelvo_->state() == QProcess::Running) {
    ReadKelvoOutput(100);
  }
  return kelvoErr_.count(text) >= count;
}

ProcessRun E2eWorld::StopKelvo() {
  if (!kelvo_) return {};
  kelvo_->terminate();
  const bool finished = kelvo_->waitForFinished(kStartMs);
  if (!finished) kelvo_->kill();
  ProcessRun run = Finish(*kelvo_, kelvoOut_, kelvoErr_.toUtf8(), finished);
  kelvo_.reset();
  return run;
}

ProcessRun E2eWorld::RunZandor(const QStringList& arguments,
                               const std::function<bool(const QString& out)>& killWhen,
                               int waitMs) {
  QProcess process;
  process.setProcessEnvironment(RunEnvironment(Path(QStringLiteral("config"))));
  process.start(QStringLiteral(ZANDOR_EXE), arguments);
  if (!process.waitForStarted(kStartMs)) return {};
  QByteArray out;
  QByteArray err;
  QDeadlineTimer deadline(waitMs);
  while (process.state() == QProcess::Running && !deadline.hasExpired()) {
    process.waitForReadyRead(50);
    out += process.readAllStandardOutput();
    err += process.readAllStandardError();
    if (killWhen && killWhen(QString::fromUtf8(out))) {
      process.kill();
      process.waitForFinished(kStartMs);
      return Finish(process, out, err, true);
    }
  }
  const bool finished = process.state() == QProcess::NotRunning || process.waitForFinished(100);
  if (!finished) {
    process.kill();
    process.waitForFinished(kStartMs);
  }
  return Finish(process, out, err, finished);
}

ProcessRun E2eWorld::RunZandorAndInterrupt(const QStringList& arguments, const QString& when) {
  QProcess process;
  process.setProcessEnvironment(RunEnvironment(Path(QStringLiteral("config"))));
  process.start(QStringLiteral(ZANDOR_EXE), arguments);
  if (!process.waitForStarted(kStartMs)) return {};
  QByteArray out;
  QByteArray err;
  bool interrupted = false;
  QDeadlineTimer deadline(120000);
  while (process.state() == QProcess::Running && !deadline.hasExpired()) {
    process.waitForReadyRead(50);
    out += process.readAllStandardOutput();
    err += process.readAllStandardError();
    if (!interrupted && QString::fromUtf8(out).contains(when)) {
      ::kill(static_cast<pid_t>(process.processId()), SIGINT);
      interrupted = true;
    }
  }
  const bool finished = process.state() == QProcess::NotRunning;
  if (!finished) {
    process.kill();
    process.waitForFinished(kStartMs);
  }
  return Finish(process, out, err, finished);
}

QStringList E2eWorld::UniqueNamesIn(const QString& folderDir) const {
  QStringList names;
  for (const char* sub : {"cur", "new"}) {
    const QDir dir(folderDir + QLatin1Char('/') + QLatin1String(sub));
    for (const QString& file : dir.entryList(QDir::Files, QDir::Name)) {
      names << file.section(QStringLiteral(":2,"), 0, 0);
    }
  }
  return names;
}

QStringList E2eWorld::SubjectsIn(const QString& folderDir) const {
  QStringList subjects;
  static const QRegularExpression subjectLine(QStringLiteral("^Subject: *(.*)$"),
                                              QRegularExpression::MultilineOption);
  for (const char* sub : {"cur", "new"}) {
    const QDir dir(folderDir + QLatin1Char('/') + QLatin1String(sub));
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
      QFile file(dir.filePath(name));
      if (!file.open(QIODevice::ReadOnly)) continue;
      const QRegularExpressionMatch match = subjectLine.match(QString::fromUtf8(file.readAll()));
      if (match.hasMatch()) subjects << match.captured(1).trimmed();
    }
  }
  return subjects;
}

QStringList FinalStatus(const QString& out) {
  QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  return lines.size() >= 4 ? lines.mid(lines.size() - 4) : lines;
}

QStringList HeldEntryIds(const QJsonObject& data) {
  QStringList ids;
  for (const QJsonValue& held : data.value(QStringLiteral("held")).toArray()) {
    ids << held.toObject().value(QStringLiteral("entryId")).toString();
  }
  return ids;
}

std::vector<QJsonArray> HeldRecords(const QJsonObject& data, const QString& entryId) {
  std::vector<QJsonArray> records;
  for (const QJsonValue& held : data.value(QStringLiteral("held")).toArray()) {
    const QJsonObject message = held.toObject();
    if (message.value(QStringLiteral("entryId")).toString() == entryId) {
      records.push_back(message.value(QStringLiteral("record")).toArray());
    }
  }
  return records;
}

}  // namespace zandor::testing

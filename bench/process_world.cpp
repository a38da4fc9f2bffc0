#include "process_world.h"

#include <signal.h>
#include <string.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include "settings/qsettings_store.h"

namespace zandor::testing {
namespace {

constexpr int kStartMs = 20000;

}  // namespace

QString ZandorRun::Outcome() const {
  if (!started) return QStringLiteral("no start");
  if (hung) return QStringLiteral("hung");
  if (end.exited) return QStringLiteral("exit %1").arg(end.exitCode);
  if (end.signal == SIGKILL) return QStringLiteral("SIGKILL");
  return QStringLiteral("signal %1").arg(QString::fromLatin1(sigabbrev_np(end.signal)));
}

ProcessWorld::ProcessWorld(QString zandorExe, QString kelvoSimExe)
    : zandorExe_(std::move(zandorExe)),
      kelvoSimExe_(std::move(kelvoSimExe)),
      mail_(dir_.filePath(QStringLiteral("Maildir")), MaildirLayout::PlusPlus) {
  QDir().mkpath(Path(QStringLiteral("config/Zandor")));
  mail_.Folder(testing::Path({"Inbox"}));
}

ProcessWorld::~ProcessWorld() = default;

QStringList ProcessWorld::Environment() const {
  // Under AddressSanitizer a finding ends a program with a status of its own,
  // not the 1 that stands for an error box.
  const QString sanitizer = qEnvironmentVariable("ASAN_OPTIONS");
  return {QStringLiteral("XDG_CONFIG_HOME=") + Path(QStringLiteral("config")),
          QStringLiteral("ASAN_OPTIONS=") + sanitizer +
              (sanitizer.isEmpty() ? QString() : QStringLiteral(":")) +
              QStringLiteral("exitcode=86"),
          QStringLiteral("LC_ALL=C.UTF-8"),
          QStringLiteral("LANG=C.UTF-8"),
          QStringLiteral("TZ=UTC"),
          QStringLiteral("QT_QPA_PLATFORM=offscreen"),
          QStringLiteral("DISPLAY="),
          QStringLiteral("WAYLAND_DISPLAY=")};
}

void ProcessWorld::WriteSetting(const QString& section, const QString& key, const QString& value) {
  QSettingsStore(Path(QStringLiteral("config/Zandor/Zandor.ini"))).Write(section, key, value);
}

void ProcessWorld::WriteEmptyKelvo() {
  const QJsonObject data{{QStringLiteral("format"), QStringLiteral("kelvo-data")},
                         {QStringLiteral("version"), 1},
                         {QStringLiteral("separator"), 254},
                         {QStringLiteral("text"), QStringLiteral("western")},
                         {QStringLiteral("nextDeviceId"), QStringLiteral("00000100")},
                         {QStringLiteral("written"), QJsonArray()},
                         {QStringLiteral("held"), QJsonArray()}};
  QFile file(DataFile());
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    file.write(QJsonDocument(data).toJson());
}

bool ProcessWorld::AddKelvoNote(const QString& subject, const QString& to, const QString& body) {
  QFile file(DataFile());
  if (!file.open(QIODevice::ReadOnly)) return false;
  QJsonObject data = QJsonDocument::fromJson(file.readAll()).object();
  file.close();
  QJsonArray written = data.value(QStringLiteral("written")).toArray();
  written.append(QJsonObject{{QStringLiteral("subject"), subject},
                             {QStringLiteral("to"), to},
                             {QStringLiteral("body"), body}});
  data.insert(QStringLiteral("written"), written);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(QJsonDocument(data).toJson()) > 0;
}

bool ProcessWorld::RemoveHeld(const QString& entryId) {
  QFile file(DataFile());
  if (!file.open(QIODevice::ReadOnly)) return false;
  QJsonObject data = QJsonDocument::fromJson(file.readAll()).object();
  file.close();
  QJsonArray kept;
  for (const QJsonValue& held : data.value(QStringLiteral("held")).toArray()) {
    if (held.toObject().value(QStringLiteral("entryId")).toString() != entryId) kept.append(held);
  }
  data.insert(QStringLiteral("held"), kept);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(QJsonDocument(data).toJson()) > 0;
}

bool ProcessWorld::StartKelvo(const QStringList& extra) {
  kelvo_ = std::make_unique<ChildProcess>();
  const QString out = Path(QStringLiteral("kelvo.out"));
  if (!kelvo_->Start(kelvoSimExe_,
                     QStringList{QStringLiteral("--pty"), QStringLiteral("--data"), DataFile(),
                                 QStringLiteral("--trace"), KelvoTracePath()} +
                         extra,
                     Environment(), out, Path(QStringLiteral("kelvo.err")))) {
    return false;
  }
  QString path;
  WaitUntil(
      [&] {
        const QString text = ReadTextFile(out);
        if (!text.contains(QLatin1Char('\n'))) return !kelvo_->Running();
        path = text.section(QLatin1Char('\n'), 0, 0).trimmed();
        return true;
      },
      kStartMs);
  if (path.isEmpty()) return false;
  WriteSetting(QStringLiteral("Ports"), QStringLiteral("COM1"), path);
  return true;
}

QString ProcessWorld::KelvoLog() const {
  return ReadTextFile(Path(QStringLiteral("kelvo.err")));
}

void ProcessWorld::StopKelvo() {
  if (!kelvo_) return;
  // The simulator looks for a PC ten times a second while none holds the
  // line: give it the time to see an opening, then to see the line closed.
  const ChildProcess& kelvo = *kelvo_;
  const auto count = [this](const char* text) {
    return static_cast<int>(KelvoLog().count(QLatin1String(text)));
  };
  WaitUntil([&] { return count("the PC opened the line") > 0 || !kelvo.Running(); }, 300);
  WaitUntil(
      [&] {
        const int opened = count("the PC opened the line");
        const int ended = count("the line was closed") + count("the Kelvo hung up");
        return ended >= opened || !kelvo.Running();
      },
      kStartMs);
  kelvo_->Signal(SIGTERM);
  if (!kelvo_->WaitForEnd(kStartMs)) {
    kelvo_->Signal(SIGKILL);
    kelvo_->WaitForEnd(kStartMs);
  }
  kelvo_.reset();
}

bool ProcessWorld::StartZandor(ChildProcess& process, const QStringList& arguments) {
  return process.Start(zandorExe_, arguments, Environment(), Path(QStringLiteral("zandor.out")),
                       Path(QStringLiteral("zandor.err")));
}

ZandorRun ProcessWorld::RunZandor(const QStringList& arguments, std::optional<int> killAfterMs,
                                  int waitMs) {
  ZandorRun run;
  ChildProcess process;
  run.started = StartZandor(process, arguments);
  if (!run.started) {
    run.err = process.Error();
    return run;
  }
  if (killAfterMs && !process.WaitForEnd(*killAfterMs)) {
    process.Signal(SIGKILL);
    run.killed = true;
  }
  if (!process.WaitForEnd(waitMs)) {
    run.hung = true;
    process.Signal(SIGKILL);
    process.WaitForEnd(kStartMs);
  }
  run.end = process.End();
  run.out = ReadTextFile(Path(QStringLiteral("zandor.out")));
  run.err = ReadTextFile(Path(QStringLiteral("zandor.err")));
  return run;
}

}  // namespace zandor::testing

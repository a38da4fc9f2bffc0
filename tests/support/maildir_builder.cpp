#include "support/maildir_builder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <filesystem>
#include <stdexcept>

#include "store/maildir/mutf7.h"

namespace zandor::testing {
namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(bytes) != bytes.size()) {
    throw std::runtime_error("cannot write " + path.toStdString());
  }
}

}  // namespace

QStringList Path(std::initializer_list<const char*> elements) {
  QStringList path;
  for (const char* element : elements) path.append(QString::fromUtf8(element));
  return path;
}

const char* LayoutName(MaildirLayout layout) {
  return layout == MaildirLayout::PlusPlus ? "PlusPlus" : "Nested";
}

MaildirBuilder::MaildirBuilder(QString root, MaildirLayout layout)
    : root_(std::move(root)), layout_(layout) {
  QDir().mkpath(root_);
}

QString MaildirBuilder::RelativeDir(const QStringList& path) const {
  QStringList encoded;
  for (const QString& element : path) encoded.append(maildir::EncodeModifiedUtf7(element));
  if (layout_ == MaildirLayout::Nested) return encoded.join(QLatin1Char('/'));
  if (!path.isEmpty() && path.front() == QStringLiteral("Inbox")) encoded.removeFirst();
  return encoded.isEmpty() ? QString() : QLatin1Char('.') + encoded.join(QLatin1Char('.'));
}

QString MaildirBuilder::EntryIdOf(const QStringList& path) const {
  const QString relative = RelativeDir(path);
  return relative.isEmpty() ? QStringLiteral(".") : relative;
}

QString MaildirBuilder::Folder(const QStringList& path) {
  const QString relative = RelativeDir(path);
  const QString dir = relative.isEmpty() ? root_ : root_ + QLatin1Char('/') + relative;
  for (const char* sub : {"cur", "new", "tmp"})
    QDir().mkpath(dir + QLatin1Char('/') + QLatin1String(sub));
  return dir;
}

QString MaildirBuilder::Add(const QStringList& folder, const TestMessage& message) {
  QByteArray raw;
  if (message.received) {
    raw +=
        "Received: from mx.example.org (mx.example.org [192.0.2.1])\n"
        "\tby mail.example.org with ESMTP id 1234;\n\t" +
        DateText(*message.received) + "\n";
  }
  if (message.date) raw += "Date: " + DateText(*message.date) + "\n";
  raw += "From: " + message.from.toLatin1() + "\nTo: " + message.to.toLatin1() + "\n";
  raw += "Subject: " + message.subject.toLatin1() +
         "\nMIME-Version: 1.0\nContent-Type: text/plain; charset=utf-8\n"
         "Content-Transfer-Encoding: 8bit\n\n" +
         message.body.toUtf8();
  return AddRaw(folder, raw);
}

QString MaildirBuilder::AddRaw(const QStringList& folder, const QByteArray& raw, QString unique,
                               const QString& flags, bool inNew) {
  const QString dir = Folder(folder);
  if (unique.isEmpty()) unique = QStringLiteral("test%1.M%1.builder").arg(++next_);
  const QString path = inNew
                           ? dir + QStringLiteral("/new/") + unique
                           : dir + QStringLiteral("/cur/") + unique + QStringLiteral(":2,") + flags;
  WriteFile(path, raw);
  return unique;
}

QByteArray MaildirBuilder::DateText(const QDateTime& time) {
  const int offset = time.offsetFromUtc() / 60;
  const int absolute = offset < 0 ? -offset : offset;
  return QLocale::c().toString(time, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss ")).toLatin1() +
         (offset < 0 ? "-" : "+") +
         QStringLiteral("%1%2")
             .arg(absolute / 60, 2, 10, QLatin1Char('0'))
             .arg(absolute % 60, 2, 10, QLatin1Char('0'))
             .toLatin1();
}

std::multiset<QByteArray> MessageContents(const QString& root) {
  std::multiset<QByteArray> contents;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root.toStdString())) {
    const QString path = QString::fromStdString(entry.path().string());
    if (!path.contains(QLatin1String("/cur/")) && !path.contains(QLatin1String("/new/"))) continue;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
      contents.insert(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1));
    }
  }
  return contents;
}

}  // namespace zandor::testing

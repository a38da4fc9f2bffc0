#include "support/maildir_builder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <filesystem>
#include <stdexcept>

#include "store/mutf7.h"

namespace zandor::testing {

using namespace Qt::StringLiterals;
namespace {

bool IsAscii(const QString& text) {
  for (QChar c : text) {
    if (c.unicode() >= 0x80) return false;
  }
  return true;
}

// An unstructured header text: as is when ASCII, else one UTF-8 encoded word.
QByteArray HeaderText(const QString& text) {
  if (IsAscii(text)) return text.toLatin1();
  return "=?UTF-8?B?" + text.toUtf8().toBase64() + "?=";
}

// An address list: non-ASCII display names become encoded words.
QByteArray AddressText(const QString& text) {
  if (IsAscii(text)) return text.toLatin1();
  const qsizetype open = text.indexOf(u'<');
  if (open <= 0) return HeaderText(text);
  return HeaderText(text.left(open).trimmed()) + " " + text.mid(open).toLatin1();
}

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
  for (const QString& element : path) encoded.append(EncodeModifiedUtf7(element));
  if (layout_ == MaildirLayout::Nested) return encoded.join(u'/');
  if (!path.isEmpty() && path.front() == u"Inbox"_s) encoded.removeFirst();
  return encoded.isEmpty() ? QString() : u'.' + encoded.join(u'.');
}

QString MaildirBuilder::EntryIdOf(const QStringList& path) const {
  const QString relative = RelativeDir(path);
  return relative.isEmpty() ? u"."_s : relative;
}

QString MaildirBuilder::Folder(const QStringList& path) {
  const QString relative = RelativeDir(path);
  const QString dir = relative.isEmpty() ? root_ : root_ + u'/' + relative;
  for (const char* sub : {"cur", "new", "tmp"}) QDir().mkpath(dir + u'/' + QLatin1String(sub));
  return dir;
}

QString MaildirBuilder::Add(const QStringList& folder, const TestMessage& message) {
  const QString unique =
      AddRaw(folder, Compose(message), message.unique, message.flags, message.inNew);
  // Delivered when received, as a server delivers: its INTERNALDATE is the file's time.
  if (message.received) {
    QFile file(lastPath_);
    if (file.open(QIODevice::ReadWrite)) {
      file.setFileTime(*message.received, QFileDevice::FileModificationTime);
    }
  }
  return unique;
}

QString MaildirBuilder::AddRaw(const QStringList& folder, const QByteArray& raw, QString unique,
                               const QString& flags, bool inNew) {
  const QString dir = Folder(folder);
  if (unique.isEmpty()) unique = u"test%1.M%1.builder"_s.arg(++next_);
  const QString path =
      inNew ? dir + u"/new/"_s + unique : dir + u"/cur/"_s + unique + u":2,"_s + flags;
  WriteFile(path, raw);
  lastPath_ = path;
  return unique;
}

QByteArray MaildirBuilder::DateText(const QDateTime& time) {
  const int offset = time.offsetFromUtc() / 60;
  const int absolute = offset < 0 ? -offset : offset;
  return QLocale::c().toString(time, u"ddd, dd MMM yyyy HH:mm:ss "_s).toLatin1() +
         (offset < 0 ? "-" : "+") +
         u"%1%2"_s.arg(absolute / 60, 2, 10, QLatin1Char('0'))
             .arg(absolute % 60, 2, 10, QLatin1Char('0'))
             .toLatin1();
}

QByteArray MaildirBuilder::Compose(const TestMessage& message) {
  QByteArray out;
  if (message.received) {
    out +=
        "Received: from mx.example.org (mx.example.org [192.0.2.1])\n"
        "\tby mail.example.org with ESMTP id 1234;\n\t" +
        DateText(*message.received) + "\n";
  }
  if (message.date) out += "Date: " + DateText(*message.date) + "\n";
  if (!message.from.isEmpty()) out += "From: " + AddressText(message.from) + "\n";
  if (!message.to.isEmpty()) out += "To: " + AddressText(message.to) + "\n";
  if (!message.cc.isEmpty()) out += "Cc: " + AddressText(message.cc) + "\n";
  if (!message.bcc.isEmpty()) out += "Bcc: " + AddressText(message.bcc) + "\n";
  out += "Subject: " + HeaderText(message.subject) + "\n";
  out += message.extraHeaders;
  if (!message.extraHeaders.contains("Content-Type:")) {
    out +=
        "MIME-Version: 1.0\n"
        "Content-Type: text/plain; charset=utf-8\n"
        "Content-Transfer-Encoding: 8bit\n";
  }
  out += "\n" + message.body.toUtf8();
  return out;
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

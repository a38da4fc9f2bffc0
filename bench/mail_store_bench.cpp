// The Maildir store over a folder of 10,000 list messages (2-20 KB bodies):
// restrict-count, sort and walk every entry id, as a folder scan does; then
// read every Body. Prints messages per second and the peak resident memory.
//
//   bench_mail_store [--messages=N] [google benchmark flags]
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#include "store/maildir/maildir_store.h"

namespace zandor {
namespace {

int g_messages = 10000;
QString g_root;
const QDateTime kNow(QDate(2026, 3, 3), QTime(12, 0));

QByteArray DateText(const QDateTime& time) {
  return QLocale::c()
             .toString(time.toUTC(), QStringLiteral("ddd, dd MMM yyyy HH:mm:ss"))
             .toLatin1() +
         " +0000";
}

// A message as a mailing list delivers it: a few Received fields, DKIM, the
// list fields, and a quoted-printable body of 2 to 20 KB.
QByteArray ListMessage(int n, QRandomGenerator& random) {
  const QDateTime received = kNow.addSecs(-static_cast<qint64>(random.bounded(200 * 86400)));
  QByteArray m;
  m += "Return-Path: <list-bounces+" + QByteArray::number(n) + "@lists.example.org>\n";
  m += "Delivered-To: ann@example.org\n";
  m += "Received: from lists.example.org (lists.example.org [192.0.2.7])\n\tby mx.example.org "
       "(Postfix) with ESMTPS id 4F2A1C0" +
       QByteArray::number(n) + "\n\tfor <ann@example.org>; " + DateText(received) + "\n";
  m += "Received: from lists.example.org (localhost [127.0.0.1])\n\tby lists.example.org (Postfix) "
       "with ESMTP id 0A1B2C3D\n\tfor <list@lists.example.org>; " +
       DateText(received.addSecs(-3)) + "\n";
  m += "Received: from sender.example.net (sender.example.net [198.51.100.4])\n\tby "
       "lists.example.org (Postfix) with ESMTPS id 77AA88BB; " +
       DateText(received.addSecs(-9)) + "\n";
  m += "DKIM-Signature: v=1; a=rsa-sha256; c=relaxed/relaxed; d=example.net; s=mail;\n"
       "\th=from:to:subject:date:message-id; bh=47DEQpj8HBSa+/TImW+5JCeuQeRkm5NMpJWZG3hSuFU=;\n"
       "\tb=Zx7Jk2mN4pQ9rS1tU3vW5xY7zA9bC1dE3fG5hI7jK9lM1nO3pQ5rS7tU9vW1xY3zA5bC7dE9fG1hI3jK5l\n"
       "\tM7nO9pQ1rS3tU5vW7xY9zA1bC3dE5fG7hI9jK1lM3nO5pQ7rS9tU1vW3xY5zA7bC9dE1fG3hI5jK7lM9nO1p==\n";
  m += "From: \"Developer " + QByteArray::number(n % 97) + "\" <dev" + QByteArray::number(n % 97) +
       "@example.net>\n";
  m += "To: list@lists.example.org\nCc: Someone Else <someone@example.com>\n";
  m += "Subject: [list] =?utf-8?q?Re=3A_patch_" + QByteArray::number(n) +
       "_=E2=80=94_fix_the_parser?=\n";
  m += "Date: " + DateText(received.addSecs(-60)) + "\n";
  m += "Message-ID: <" + QByteArray::number(n) + ".1234@sender.example.net>\n";
  m += "In-Reply-To: <" + QByteArray::number(n - 1) + ".1234@sender.example.net>\n";
  m += "MIME-Version: 1.0\nContent-Type: text/plain; charset=utf-8\nContent-Transfer-Encoding: "
       "quoted-printable\n";
  m += "List-Id: Developers <list.lists.example.org>\n";
  m += "List-Unsubscribe: <https://lists.example.org/options/list>, "
       "<mailto:list-request@lists.example.org?subject=unsubscribe>\n";
  m += "List-Archive: <https://lists.example.org/archives/list/>\nList-Post: "
       "<mailto:list@lists.example.org>\n";
  m += "Precedence: list\n\n";
  const int bodyBytes = 2048 + static_cast<int>(random.bounded(18 * 1024));
  while (m.size() < bodyBytes + 2500) {
    m += "> On the earlier message: the parser now reads the header block only, and the "
         "caf=C3=A9 case is handled.\nThat is what we need for the scan; let us keep it so.=20\n";
  }
  return m;
}

void Generate(const QString& root, int count) {
  for (const char* sub : {"cur", "new", "tmp"})
    QDir().mkpath(root + QLatin1Char('/') + QLatin1String(sub));
  QRandomGenerator random(42);
  for (int n = 0; n < count; ++n) {
    const qint64 delivered = kNow.toSecsSinceEpoch() - random.bounded(200 * 86400);
    const QString name =
        QStringLiteral("%1/cur/%2.M%3P99.bench,S=1234:2,S").arg(root).arg(delivered).arg(n);
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly)) std::abort();
    file.write(ListMessage(n, random));
  }
}

long PeakRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void CountSortWalk(benchmark::State& state) {
  FixedClock clock(kNow);
  const QLocale locale(QStringLiteral("en_US"));
  const QDate since = kNow.date().addDays(-90);
  qint64 walked = 0;
  for (auto _ : state) {
    MaildirStore store(g_root, locale, clock);  // nothing cached between runs but the OS's
    auto items = store.Items(store.GetDefaultFolder(DefaultFolder::Inbox).value());
    if (!items) state.SkipWithError(items.reason().toUtf8().constData());
    auto& collection = *items.value();
    const int inRange = collection.Count(since).value();
    collection.SortByReceivedTime();
    int seen = 0;
    for (auto item = collection.Find(since); item; item = collection.FindNext()) {
      benchmark::DoNotOptimize(item->EntryId());
      ++seen;
    }
    if (seen != inRange) state.SkipWithError("the walk did not meet the count");
    walked += collection.Count(std::nullopt).value();
  }
  state.SetItemsProcessed(walked);
  state.counters["peak_rss_MiB"] = static_cast<double>(PeakRssKiB()) / 1024.0;
}
BENCHMARK(CountSortWalk)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void ReadAllBodies(benchmark::State& state) {
  FixedClock clock(kNow);
  const QLocale locale(QStringLiteral("en_US"));
  const QDate since = kNow.date().addDays(-10000);
  qint64 read = 0;
  qint64 characters = 0;
  for (auto _ : state) {
    MaildirStore store(g_root, locale, clock);
    auto items = store.Items(store.GetDefaultFolder(DefaultFolder::Inbox).value());
    auto& collection = *items.value();
    collection.SortByReceivedTime();
    for (auto item = collection.Find(since); item; item = collection.FindNext()) {
      auto body = item->Text(ItemText::Body);
      if (!body) state.SkipWithError(body.reason().toUtf8().constData());
      characters += body->size();
      ++read;
    }
  }
  state.SetItemsProcessed(read);
  state.counters["chars_per_body"] =
      static_cast<double>(characters) / static_cast<double>(std::max<qint64>(read, 1));
  state.counters["peak_rss_MiB"] = static_cast<double>(PeakRssKiB()) / 1024.0;
}
BENCHMARK(ReadAllBodies)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace
}  // namespace zandor

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--messages=", 11) == 0) zandor::g_messages = std::atoi(argv[i] + 11);
  }
  QTemporaryDir dir;
  if (!dir.isValid()) return 1;
  zandor::g_root = dir.path();
  zandor::Generate(dir.path(), zandor::g_messages);
  std::printf("generated %d messages in %s; peak RSS after generation %.1f MiB\n",
              zandor::g_messages, qPrintable(dir.path()),
              static_cast<double>(zandor::PeakRssKiB()) / 1024.0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("peak RSS of the whole run: %.1f MiB\n",
              static_cast<double>(zandor::PeakRssKiB()) / 1024.0);
  return 0;
}

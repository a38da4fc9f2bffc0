#pragma once

#include <QDir>
#include <QTemporaryDir>

#include "mail/maildir/maildir_store.h"
#include "model/kelvo_device.h"
#include "records/conversion.h"
#include "settings/memory_settings_store.h"
#include "settings/options.h"
#include "support/in_process_line.h"
#include "support/maildir_builder.h"
#include "support/recording_host.h"
#include "support/sync_checks.h"
#include "sync/clock.h"
#include "sync/sync_driver.h"
#include "sync/sync_session.h"

namespace zandor::testing {

// Everything a whole synchronisation runs against in-process: a real Maildir
// in a temporary folder, the Kelvo device model behind an in-process line, a
// recording host, plain options and settings, and a clock that stands still
// at noon on 6 December 2026.
struct SyncRig {
  explicit SyncRig(MaildirLayout layout = MaildirLayout::PlusPlus)
      : builder(dir.path(), layout),
        store(dir.path(), QLocale::c(), clock),
        line(device),
        host(&line, &session) {
    options.portPath = QStringLiteral("/dev/kelvo-test");
  }

  SyncEnd Run() {
    SyncEnvironment environment{host, options, line, store, settings, clock, tables, QLocale::c()};
    return RunSynchronisation(session, environment);
  }

  // A message received n days before the clock's today, at 09:00.
  static QDateTime DaysAgo(int days) {
    return QDateTime(QDate(2026, 12, 6).addDays(-days), QTime(9, 0));
  }

  // Adds a message received `days` ago to a folder; returns its unique name.
  QString AddMail(const QStringList& folder, const QString& subject, int days = 1,
                  const QString& body = QStringLiteral("Hello.\n")) {
    TestMessage message;
    message.subject = subject;
    message.body = body;
    message.received = DaysAgo(days);
    message.date = DaysAgo(days);
    return builder.Add(folder, message);
  }

  int FilesIn(const QStringList& folder) { return MessageFilesIn(builder, folder); }
  QStringList HeldEntryIds() const { return HeldEntryIdsOf(device); }

  // The Kelvo forgets every held message but those whose entry id is kept.
  void KeepOnDevice(const QStringList& keep) {
    std::vector<sim::HeldMessage> held;
    for (const sim::HeldMessage& h : device.Held()) {
      if (keep.contains(QString::fromUtf8(h.entryId))) held.push_back(h);
    }
    const quint32 next = device.NextDeviceId();
    device = sim::KelvoDevice();
    device.SetNextDeviceId(next);
    for (sim::HeldMessage& h : held) device.AddHeld(std::move(h));
  }

  QTemporaryDir dir;
  FixedClock clock{QDateTime(QDate(2026, 12, 6), QTime(12, 0))};
  MaildirBuilder builder;
  MaildirStore store;
  sim::KelvoDevice device;
  InProcessLine line;
  SyncSession session;
  RecordingHost host;
  OptionValues options;
  MemorySettingsStore settings;
  ConversionTables tables = BuildConversionTables();
};

}  // namespace zandor::testing

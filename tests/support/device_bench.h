#pragma once

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QTime>

#include "link/link.h"
#include "model/kelvo_device.h"
#include "records/conversion.h"
#include "settings/memory_settings_store.h"
#include "settings/options.h"
#include "support/in_process_line.h"
#include "support/memory_mail_store.h"
#include "support/recording_host.h"
#include "sync/clock.h"
#include "sync/sync_context.h"
#include "sync/sync_session.h"

namespace zandor::testing {

// Everything one phase runs against, joined to the Kelvo device model: the
// device, the in-process line (open), a recording host, the session, the
// link, plain options, a memory store and settings, a fixed clock and the
// conversion tables. Build the device's messages first, then run a phase on
// Context() and read the transcript, the boxes and the store.
struct DeviceBench {
  DeviceBench() { line.Open(QStringLiteral("/dev/kelvo-in-process"), LineSettings{}); }

  SyncContext Context() {
    return SyncContext{session, link, host, options, store, settings, clock, tables, QLocale::c()};
  }
  QString Transcript() const { return line.Transcript().Text(); }

  sim::KelvoDevice device;
  InProcessLine line{device};
  SyncSession session;
  RecordingHost host{&line, &session};
  Link link{session, line, host};
  OptionValues options;
  MemoryMailStore store;
  MemorySettingsStore settings;
  FixedClock clock{QDateTime(QDate(2026, 3, 1), QTime(9, 30))};
  ConversionTables tables = BuildConversionTables();
};

// A golden file under tests/<path>, read at run time. With ZANDOR_UPDATE_GOLDEN
// set, the actual text is written there instead (review the diff before
// committing it).
inline QString Golden(const QString& path, const QString& actual) {
  const QString file = QStringLiteral(ZANDOR_SOURCE_DIR "/tests/") + path;
  if (qEnvironmentVariableIsSet("ZANDOR_UPDATE_GOLDEN")) {
    QFile out(file);
    if (out.open(QIODevice::WriteOnly)) out.write(actual.toUtf8());
    return actual;
  }
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly))
    return QStringLiteral("<missing golden file ") + file + QLatin1Char('>');
  return QString::fromUtf8(in.readAll());
}

}  // namespace zandor::testing

#pragma once

#include <QLocale>

#include "link/link.h"
#include "records/conversion.h"
#include "session/clock.h"
#include "session/host.h"
#include "session/sync_session.h"
#include "settings/options.h"
#include "settings/settings_store.h"
#include "store/mail_store.h"

namespace zandor {

// Marks one exchange (a part sent and marked, a message received and
// answered) as in flight while it lives; a break asked for meanwhile with
// RequestBreakAfterExchange is made when it ends.
class ExchangeScope {
 public:
  explicit ExchangeScope(SyncSession& session) : session_(session) {
    session_.ExchangeInFlight = true;
  }
  ~ExchangeScope() {
    session_.ExchangeInFlight = false;
    if (session_.BreakAfterExchange) session_.BreakRequested = true;
    session_.BreakAfterExchange = false;
  }
  ExchangeScope(const ExchangeScope&) = delete;
  ExchangeScope& operator=(const ExchangeScope&) = delete;

 private:
  SyncSession& session_;
};

// Everything a phase of one synchronisation reaches: the shared state, the
// line, the window, the live options, the mail store, the settings, the clock
// and the conversion tables. The driver builds one per synchronisation; none
// of the phases keeps anything of it afterwards.
struct SyncContext {
  SyncSession& session;
  Link& link;
  Host& host;
  const Options& options;
  MailStore& store;
  SettingsStore& settings;
  const Clock& clock;
  const ConversionTables& tables;
  QLocale locale;  // the date field and the date filter; QLocale::system() in the program
};

}  // namespace zandor

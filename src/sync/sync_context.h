#pragma once

#include <QDate>
#include <QLocale>
#include <functional>
#include <map>
#include <memory>

#include "link/link.h"
#include "records/conversion.h"
#include "records/outgoing_record.h"
#include "session/clock.h"
#include "session/host.h"
#include "session/sync_session.h"
#include "settings/settings_store.h"
#include "settings/sync_options.h"
#include "store/mail_store.h"
#include "sync/run_plan.h"

namespace zandor {

// The seams one synchronisation runs against. The window, the headless run
// and tests each put their own behind them.
struct SyncEnvironment {
  Host& host;
  LiveOptions options;  // read at each moment a phase needs an option
  SerialLine& line;
  MailStore& store;
  SettingsStore& settings;
  const Clock& clock;
  const ConversionTables& tables;
  QLocale locale = RecordDateLocale();  // the record's date field
};

// The folders' collections as the count listed them before the port opened,
// by folder entry id, with the texts of the mail due read ahead: the scan
// takes each rather than asking the store again, so that the line does not
// wait on a store across a network. Mail that arrives in between waits for
// the next synchronisation.
using FolderListings = std::map<QString, std::unique_ptr<ItemCollection>>;

// What the link's waits need, taken from the window and the session: the
// yield, the break flag, and the box of a line fault, which asks for a break.
class SessionWaits final : public LinkWaits {
 public:
  SessionWaits(SyncSession& session, Host& host) : session_(session), host_(host) {}
  void Yield(YieldMode mode) override { host_.Yield(mode); }
  bool BreakRequested() const override { return session_.BreakRequested; }
  void LineFault(const LineEvent& event) override;

 private:
  SyncSession& session_;
  Host& host_;
};

// Everything a phase of one synchronisation reaches: the seams, the shared
// state and the link over the line. The driver builds one per
// synchronisation, once the port is open; none of the phases keeps anything
// of it afterwards.
struct SyncContext : SyncEnvironment {
  SyncContext(SyncSession& syncSession, const SyncEnvironment& environment)
      : SyncEnvironment(environment),
        session(syncSession),
        waits(session, host),
        link(line, waits) {}
  SyncContext(const SyncContext&) = delete;
  SyncContext& operator=(const SyncContext&) = delete;

  SyncSession& session;
  SessionWaits waits;
  Link link;
  RunPlan plan;
  FolderListings listed;
  // The plan and the listings are made aside while the handshake and the
  // receive phase go on, on a thread that then has the store to itself:
  // this waits for them (aside from the window) and puts them here. Called
  // before a phase's first store call; once they are here it returns at once.
  std::function<void()> claimStore = [] {};
};

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

}  // namespace zandor

#pragma once

// The tests' Dovecot is the one the demo and the benchmarks use.
#include "mail_server/dovecot_server.h"

namespace zandor::testing {
using sim::DovecotServer;
}  // namespace zandor::testing

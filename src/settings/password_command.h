#pragma once

#include <QString>
#include <variant>

namespace zandor {

// What a password command gave: the password, or why there is none, in
// words for the user.
struct CommandFailure {
  QString reason;
};
using CommandPassword = std::variant<QString, CommandFailure>;

inline constexpr int kPasswordCommandMilliseconds = 10000;

// Runs the command through /bin/sh -c and takes the first line of its
// standard output as the password. A command that fails, prints nothing or
// runs longer than the timeout gives a failure naming its exit status and the
// first line of its standard error.
CommandPassword RunPasswordCommand(const QString& command,
                                   int timeoutMilliseconds = kPasswordCommandMilliseconds);

}  // namespace zandor

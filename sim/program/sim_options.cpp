#include "sim_options.h"

#include <QCommandLineParser>

namespace zandor::sim {
namespace {

struct FaultName {
  const char* name;
  FaultKind kind;
};

constexpr FaultName kFaultNames[] = {
    {"wrong-byte", FaultKind::WrongByte}, {"twice", FaultKind::Twice},
    {"joined", FaultKind::Joined},        {"silence", FaultKind::Silence},
    {"hang-up", FaultKind::HangUp},       {"too-many", FaultKind::TooMany},
    {"replace", FaultKind::Replace},
};

}  // namespace

std::optional<Fault> ParseFault(const QString& text, QString& error) {
  const QStringList parts = text.split(QLatin1Char(':'));
  if (parts.size() < 2 || parts.size() > 3) {
    error = QStringLiteral("--fault %1: write STEP:KIND or STEP:KIND:HEX").arg(text);
    return std::nullopt;
  }
  Fault fault;
  bool ok = false;
  fault.reply = parts[0].toInt(&ok);
  if (!ok || fault.reply < 1) {
    error = QStringLiteral("--fault %1: the step is a reply number from 1").arg(text);
    return std::nullopt;
  }
  const auto known =
      std::find_if(std::begin(kFaultNames), std::end(kFaultNames),
                   [&](const FaultName& n) { return parts[1] == QLatin1String(n.name); });
  if (known == std::end(kFaultNames)) {
    error = QStringLiteral(
                "--fault %1: unknown kind '%2' (wrong-byte, twice, joined, silence, "
                "hang-up, too-many, replace)")
                .arg(text, parts[1]);
    return std::nullopt;
  }
  fault.kind = known->kind;
  if (parts.size() == 3) {
    const QByteArray hex = parts[2].toLatin1();
    fault.bytes = QByteArray::fromHex(hex);
    if (hex.isEmpty() || hex.size() % 2 != 0 || fault.bytes.toHex().toLower() != hex.toLower()) {
      error = QStringLiteral("--fault %1: '%2' is not hexadecimal bytes").arg(text, parts[2]);
      return std::nullopt;
    }
  }
  if (fault.kind == FaultKind::Replace && fault.bytes.isEmpty()) {
    error = QStringLiteral("--fault %1: replace needs the bytes (STEP:replace:HEX)").arg(text);
    return std::nullopt;
  }
  return fault;
}

ParsedSimOptions ParseSimOptions(const QStringList& arguments) {
  QCommandLineParser parser;
  const QString pty = QStringLiteral("pty");
  const QString port = QStringLiteral("port");
  const QString data = QStringLiteral("data");
  const QString pace = QStringLiteral("pace");
  const QString fault = QStringLiteral("fault");
  const QString trace = QStringLiteral("trace");
  const QString traceTimes = QStringLiteral("trace-times");
  const QString help = QStringLiteral("help");
  parser.addOptions({
      {pty, QString()},
      {port, QString(), QStringLiteral("path")},
      {data, QString(), QStringLiteral("file")},
      {pace, QString(), QStringLiteral("baud")},
      {fault, QString(), QStringLiteral("step:kind")},
      {trace, QString(), QStringLiteral("file")},
      {traceTimes, QString()},
      {{QStringLiteral("h"), help}, QString()},
  });
  if (!parser.parse(QStringList{QStringLiteral("kelvo-sim")} + arguments)) {
    return {std::nullopt, parser.errorText()};
  }
  if (!parser.positionalArguments().isEmpty()) {
    return {std::nullopt,
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first())};
  }
  SimOptions options;
  if (parser.isSet(help)) {
    options.mode = SimOptions::Mode::Help;
    return {options, QString()};
  }
  if (parser.isSet(pty) && parser.isSet(port)) {
    return {std::nullopt, QStringLiteral("--pty and --port exclude each other")};
  }
  if (parser.isSet(port)) {
    options.mode = SimOptions::Mode::Port;
    options.portPath = parser.value(port);
    if (options.portPath.isEmpty()) return {std::nullopt, QStringLiteral("--port needs a path")};
  }
  options.dataPath = parser.value(data);
  options.tracePath = parser.value(trace);
  options.traceTimes = parser.isSet(traceTimes);
  if (parser.isSet(pace)) {
    bool ok = false;
    options.pace = parser.value(pace).toInt(&ok);
    if (!ok || options.pace < 10 || options.pace > 10000000) {
      return {std::nullopt,
              QStringLiteral("--pace needs a line rate in baud, such as 38400, not '%1'")
                  .arg(parser.value(pace))};
    }
  }
  for (const QString& text : parser.values(fault)) {
    QString error;
    std::optional<Fault> parsed = ParseFault(text, error);
    if (!parsed) return {std::nullopt, error};
    options.faults.push_back(std::move(*parsed));
  }
  return {options, QString()};
}

QString SimUsageText() {
  return QStringLiteral(
      "Usage: kelvo-sim [--pty | --port PATH] [--data FILE] [--pace BAUD]\n"
      "                 [--fault STEP:KIND[:HEX]]... [--trace FILE]\n"
      "                 [--trace-times]\n"
      "\n"
      "Plays the Kelvo handheld on a pseudo-terminal or a serial port and serves\n"
      "synchronisation after synchronisation until it is stopped (Ctrl-C, SIGTERM).\n"
      "\n"
      "  --pty          open a pseudo-terminal and print its path as the first line\n"
      "                 of standard output (the default)\n"
      "  --port PATH    serve a real serial port at 38400 8N1 with RTS/CTS\n"
      "  --data FILE    the Kelvo's messages (JSON, docs/kelvo-data-format.md); read at\n"
      "                 start (a missing file starts empty) and saved after each\n"
      "                 synchronisation, when the PC closes the line, and at exit\n"
      "  --pace BAUD    send and take bytes at this line rate (10 bits a byte)\n"
      "  --fault STEP:KIND[:HEX]\n"
      "                 misbehave at reply STEP (counted from 1, the answer to the\n"
      "                 handshake, in each synchronisation; each fault fires once):\n"
      "                 wrong-byte, twice, joined, silence, hang-up, too-many, replace;\n"
      "                 HEX gives the bytes of wrong-byte, too-many and replace\n"
      "  --trace FILE   write every byte on the line to FILE, readably\n"
      "  --trace-times  put before each piece of the trace a note \"at N\", N the\n"
      "                 microseconds of the steady clock when it went or came\n"
      "  -h, --help     show this text\n"
      "\n"
      "After a hang-up on a pseudo-terminal a new one is opened, and its path is\n"
      "printed as the next line of standard output.\n");
}

}  // namespace zandor::sim

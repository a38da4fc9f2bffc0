#pragma once

#include <QByteArray>
#include <array>

namespace zandor {

// How text is converted between the host code page and the Kelvo's character
// set. It is never stored: each conversion derives it from the option buttons
// at the moment it runs, so a change in the options dialog takes effect at the
// next field.
enum class ConversionMode { Western, RussianOstrel, RussianDravo };

// The constant data of both directions. All values are single-byte codes.
struct ConversionTables {
  // Device code for host code 128 + i (Windows-1252), Western mode outgoing.
  std::array<unsigned char, 128> westernOut{};
  // Host code for device code 128 + i (device codes 128..231), Western mode
  // incoming; device codes 232..255 pass unchanged.
  std::array<unsigned char, 104> westernIn{};
  // The symbol the Kelvo shows at device code 16 + i (device codes 16..31), as
  // its Windows-1252 code, whatever the mode; read by DecodeReceivedText.
  std::array<unsigned char, 16> deviceSymbols{};
  // Paired by position: cyrillicHost[p] (Windows-1251) is sent as
  // cyrillicDevice[p] in the Ostrel mode, and cyrillicDevice[p] arrives as
  // cyrillicHost[p] in both Russian modes. No code occurs twice in either.
  std::array<unsigned char, 98> cyrillicHost{};
  std::array<unsigned char, 98> cyrillicDevice{};
  // The two pairings as direct lookups over all 256 codes (identity where a
  // code is not paired), derived from the two strings above.
  std::array<unsigned char, 256> cyrillicHostToDevice{};
  std::array<unsigned char, 256> cyrillicDeviceToHost{};
};

// The tables. The program builds them once, at load, and never changes them.
ConversionTables BuildConversionTables();

// Converts one field, already in host code page bytes, to device codes. The
// field separator is never passed in; fieldSeparator is the one in force for
// the synchronisation, and no character leaves as it or as 0, in any mode. A
// tab always becomes one space. The length may change: the Ostrel mode sends
// … as three dots.
QByteArray ConvertOutgoing(const QByteArray& text, ConversionMode mode,
                           unsigned char fieldSeparator, const ConversionTables& tables);

// Converts one received field, in place, from device codes to host code page
// bytes. Both Russian modes convert alike. The Kelvo's symbols (16..31) stay
// as they are: they name Windows-1252 characters in every mode, some of which
// Windows-1251 lacks, so only DecodeReceivedText turns them into text.
void ConvertIncoming(QByteArray& text, ConversionMode mode, const ConversionTables& tables);

}  // namespace zandor

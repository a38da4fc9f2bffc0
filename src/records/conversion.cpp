#include "records/conversion.h"

namespace zandor {
namespace {

constexpr unsigned char kTab = 9;
constexpr unsigned char kSpace = 32;
constexpr unsigned char kUnsendable = '?';

// Device code for each host code 128..255, sixteen host codes a row. Ž (142)
// and Ÿ (159) leave as 'Z' and 'Y', like their neighbours Š, š and ž. The
// Kelvo has no cedilla: ¸ (184) leaves as a space, as other characters it
// cannot show do, not as a line end; a comma would split a recipient list.
constexpr std::array<unsigned char, 128> kWesternOut = {
    231, 32,  39,  204, 34,  32,  212, 213, 19,  47,  83,  207, 191, 32,  90,  32,   // 128
    32,  17,  17,  34,  34,  24,  215, 45,  34,  217, 115, 208, 193, 32,  122, 89,   // 144
    32,  143, 175, 189, 221, 190, 205, 211, 16,  220, 192, 218, 215, 215, 217, 215,  // 160
    197, 196, 198, 199, 17,  200, 174, 229, 32,  230, 197, 219, 202, 201, 203, 159,  // 176
    133, 128, 138, 165, 160, 171, 169, 170, 134, 129, 139, 161, 135, 130, 140, 162,  // 192
    223, 167, 136, 131, 141, 166, 163, 194, 172, 137, 132, 142, 164, 228, 226, 173,  // 208
    149, 144, 154, 181, 176, 187, 185, 186, 150, 145, 155, 177, 151, 146, 156, 178,  // 224
    222, 183, 152, 147, 157, 182, 179, 195, 188, 153, 148, 158, 180, 227, 225, 216,  // 240
};

// Host code for each device code 128..231, sixteen device codes a row.
constexpr std::array<unsigned char, 104> kWesternIn = {
    193, 201, 205, 211, 218, 192, 200, 204, 210, 217, 194, 202, 206, 212, 219, 161,  // 128
    225, 233, 237, 243, 250, 224, 232, 236, 242, 249, 226, 234, 238, 244, 251, 191,  // 144
    196, 203, 207, 214, 220, 195, 213, 209, 73,  198, 199, 197, 216, 223, 182, 162,  // 160
    228, 235, 239, 246, 252, 227, 245, 241, 105, 230, 231, 229, 248, 163, 165, 140,  // 176
    170, 156, 215, 247, 177, 186, 178, 179, 181, 189, 188, 190, 131, 166, 70,  139,  // 192
    155, 86,  32,  167, 134, 135, 118, 150, 255, 174, 171, 187, 169, 164, 240, 208,  // 208
    166, 254, 222, 253, 221, 183, 185, 128,                                          // 224
};

// Windows-1252 code for each device code 16..31: the Kelvo's symbols in the
// control range.
constexpr std::array<unsigned char, 16> kDeviceSymbols = {
    168, 180, 96, 136, 126, 32, 32, 32, 149, 124, 91, 93, 126, 149, 149, 149,
};

// Windows-1251 codes and the Kelvo codes they pair with, position by position:
// the lower-case letters (ё after е, ь before ъ ы), punctuation and symbols,
// then the capitals in the same order.
constexpr std::array<unsigned char, 98> kCyrillicHost = {
    224, 225, 226, 227, 228, 229, 184,                          // а..е ё
    230, 231, 232, 233, 234, 235, 236, 237, 238, 239,           // ж..п
    240, 241, 242, 243, 244, 245, 246, 247, 248, 249,           // р..щ
    252, 250, 251, 253, 254, 255,                               // ь ъ ы э ю я
    46,  44,  169, 174, 182, 47,  35,  38,  33,  63,  34,  37,  // . , © ® ¶ / # & ! ? " %
    40,  41,  42,  43,  45,  61,  164, 181, 59,  58,  185,      // ( ) * + - = ¤ µ ; : №
    95,  36,  60,  62,  171, 187, 167, 177, 64,                 // _ $ < > « » § ± @
    192, 193, 194, 195, 196, 197, 168,                          // А..Е Ё
    198, 199, 200, 201, 202, 203, 204, 205, 206, 207,           // Ж..П
    208, 209, 210, 211, 212, 213, 214, 215, 216, 217,           // Р..Щ
    220, 218, 219, 221, 222, 223,                               // Ь Ъ Ы Э Ю Я
};
constexpr std::array<unsigned char, 98> kCyrillicDevice = {
    161, 162, 163, 164, 165, 166, 167,                          // а..е ё
    168, 169, 170, 171, 172, 173, 174, 175, 176, 177,           // ж..п
    178, 179, 180, 181, 182, 183, 184, 185, 186, 187,           // р..щ
    190, 188, 189, 191, 192, 193,                               // ь ъ ы э ю я
    46,  44,  220, 217, 204, 47,  35,  38,  33,  63,  34,  37,  // . , © ® ¶ / # & ! ? " %
    40,  41,  42,  43,  45,  61,  221, 200, 59,  58,  230,      // ( ) * + - = ¤ µ ; : №
    95,  36,  60,  62,  218, 219, 211, 196, 64,                 // _ $ < > « » § ± @
    128, 129, 130, 131, 132, 133, 134,                          // А..Е Ё
    135, 136, 137, 138, 139, 140, 141, 142, 143, 144,           // Ж..П
    145, 146, 147, 148, 149, 150, 151, 152, 153, 154,           // Р..Щ
    157, 155, 156, 158, 159, 160,                               // Ь Ъ Ы Э Ю Я
};

// What the Ostrel mode sends for each Windows-1251 code 128..191 that has no
// Cyrillic pair: sent as it is, every one of them would land on the code of a
// Kelvo letter (128..193). Punctuation goes as its ASCII counterpart, a letter
// with a mark as its plain letter, a letter drawn like an ASCII one as that
// letter, anything else as '?'; the soft hyphen, only a hint for breaking a
// line, is dropped. Stand-ins are host codes, paired like any other (0xC3 is
// Г). {} marks a code that has a pair.
constexpr std::array<const char*, 64> kOstrelStandIns = {
    "?", "\xc3", "'",    "\xe3", "\"",   "...",  "?", "?",  // 128 Ђ Ѓ ‚ ѓ „ … † ‡
    "?", "?",    "?",    "<",    "?",    "\xca", "?", "?",  // 136 € ‰ Љ ‹ Њ Ќ Ћ Џ
    "?", "'",    "'",    "\"",   "\"",   "*",    "-", "-",  // 144 ђ ‘ ’ “ ” • – —
    "?", "?",    "?",    ">",    "?",    "\xea", "?", "?",  // 152 (unused) ™ љ › њ ќ ћ џ
    " ", "\xd3", "\xf3", "J",    {},     "\xc3", "|", {},   // 160 nbsp Ў ў Ј ¤ Ґ ¦ §
    {},  {},     "?",    {},     "?",    "",     {},  "I",  // 168 Ё © Є « ¬ shy ® Ї
    "?", {},     "I",    "i",    "\xe3", {},     {},  ".",  // 176 ° ± І і ґ µ ¶ ·
    {},  {},     "?",    {},     "j",    "S",    "s", "i",  // 184 ё № є » ј Ѕ ѕ ї
};

unsigned char Byte(char c) {
  return static_cast<unsigned char>(c);
}
char Char(unsigned char c) {
  return static_cast<char>(c);
}

// Identity over all codes, then each pair from `from` to `to`. Walking the
// pairs backwards leaves the first occurrence in force, which is what a
// search from the start of the string would find.
std::array<unsigned char, 256> PairLookup(const std::array<unsigned char, 98>& from,
                                          const std::array<unsigned char, 98>& to) {
  std::array<unsigned char, 256> lookup{};
  for (std::size_t c = 0; c < lookup.size(); ++c) lookup[c] = static_cast<unsigned char>(c);
  for (std::size_t p = from.size(); p-- > 0;) lookup[from[p]] = to[p];
  return lookup;
}

unsigned char WesternOut(unsigned char c, const ConversionTables& tables) {
  if (c < 128) return c == kTab ? kSpace : c;
  return tables.westernOut[c - 128u];
}

// The Kelvo's symbols (16..31) pass unchanged in every mode, for
// DecodeReceivedText to name.
unsigned char WesternIn(unsigned char c, const ConversionTables& tables) {
  if (c >= 128 && c <= 231) return tables.westernIn[c - 128u];
  return c;
}

unsigned char RussianIn(unsigned char c, const ConversionTables& tables) {
  return tables.cyrillicDeviceToHost[c];
}

unsigned char RussianOut(unsigned char c, ConversionMode mode, const ConversionTables& tables) {
  if (mode == ConversionMode::RussianOstrel) c = tables.cyrillicHostToDevice[c];
  // The tab rule runs after the mapping; no Cyrillic pair involves a tab.
  return c == kTab ? kSpace : c;
}

}  // namespace

ConversionTables BuildConversionTables() {
  ConversionTables tables;
  tables.westernOut = kWesternOut;
  tables.westernIn = kWesternIn;
  tables.deviceSymbols = kDeviceSymbols;
  tables.cyrillicHost = kCyrillicHost;
  tables.cyrillicDevice = kCyrillicDevice;
  tables.cyrillicHostToDevice = PairLookup(kCyrillicHost, kCyrillicDevice);
  tables.cyrillicDeviceToHost = PairLookup(kCyrillicDevice, kCyrillicHost);
  return tables;
}

QByteArray ConvertOutgoing(const QByteArray& text, ConversionMode mode,
                           unsigned char fieldSeparator, const ConversionTables& tables) {
  QByteArray out;
  out.reserve(text.size());
  for (const char ch : text) {
    const unsigned char c = Byte(ch);
    const char* standIn = mode == ConversionMode::RussianOstrel && c >= 128 && c < 192
                              ? kOstrelStandIns[c - 128u]
                              : nullptr;
    if (mode == ConversionMode::Western) {
      out.append(Char(WesternOut(c, tables)));
    } else if (standIn == nullptr) {
      out.append(Char(RussianOut(c, mode, tables)));
    } else {
      for (; *standIn != 0; ++standIn) out.append(Char(RussianOut(Byte(*standIn), mode, tables)));
    }
  }
  // The separator was fixed when the run began and the mode is read live, so
  // no table can promise to miss it: a character that would leave as the
  // separator in force or as the 0 that ends a field leaves as '?', the mark
  // of a character that cannot travel.
  for (char& sent : out) {
    if (Byte(sent) == fieldSeparator || sent == 0) sent = Char(kUnsendable);
  }
  return out;
}

void ConvertIncoming(QByteArray& text, ConversionMode mode, const ConversionTables& tables) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const unsigned char c = Byte(text[i]);
    text[i] = Char(mode == ConversionMode::Western ? WesternIn(c, tables) : RussianIn(c, tables));
  }
}

}  // namespace zandor

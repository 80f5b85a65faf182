#pragma once
// Byte sequences that UTF-8 decoders commonly get wrong, with what the system's own conversion
// gives for each (checked against it by the Windows test). Shared by the host test of decodeUtf8 and the Windows test that holds our
// decoder against the system's.
#include <string>
#include <vector>

namespace averlune {

struct Utf8Case {
  const char* name;
  std::vector<unsigned char> bytes;
  std::u16string expected;
};

inline const std::vector<Utf8Case>& utf8Cases() {
  using namespace std::string_literals;
  static const std::vector<Utf8Case> cases = {
      {"empty", {}, u""},
      {"ascii", {'A', 'z', '~'}, u"Az~"},
      {"nul is a character", {'A', 0x00, 'B'}, u"A\0B"s},
      {"two-byte", {0xC3, 0xA9}, u"\u00E9"},
      {"three-byte", {0xE2, 0x82, 0xAC}, u"\u20AC"},
      {"four-byte becomes a surrogate pair", {0xF0, 0x9F, 0x98, 0x80}, u"\U0001F600"},
      {"byte-order mark is an ordinary character", {0xEF, 0xBB, 0xBF, 'x'}, u"\uFEFFx"},
      {"smallest three-byte", {0xE0, 0xA0, 0x80}, u"\u0800"},
      {"last before surrogates", {0xED, 0x9F, 0xBF}, u"\uD7FF"},
      {"noncharacters are valid", {0xEF, 0xBF, 0xBE, 0xEF, 0xBF, 0xBF}, u"\uFFFE\uFFFF"},
      {"smallest four-byte", {0xF0, 0x90, 0x80, 0x80}, u"\U00010000"},
      {"largest code point", {0xF4, 0x8F, 0xBF, 0xBF}, u"\U0010FFFF"},

      {"stray continuation", {0x80}, u"\uFFFD"},
      {"run of continuations", {0x80, 0xBF, 0x80}, u"\uFFFD\uFFFD\uFFFD"},
      {"continuation before ascii", {0xBF, 'A'}, u"\uFFFDA"},
      {"overlong two-byte nul", {0xC0, 0x80}, u"\uFFFD\uFFFD"},
      {"overlong two-byte", {0xC1, 0xBF}, u"\uFFFD\uFFFD"},
      {"overlong three-byte", {0xE0, 0x80, 0x80}, u"\uFFFD\uFFFD"},
      {"overlong three-byte top", {0xE0, 0x9F, 0xBF}, u"\uFFFD\uFFFD"},
      {"overlong four-byte", {0xF0, 0x80, 0x80, 0x80}, u"\uFFFD\uFFFD\uFFFD"},
      {"overlong four-byte top", {0xF0, 0x8F, 0xBF, 0xBF}, u"\uFFFD\uFFFD\uFFFD"},
      {"encoded high surrogate", {0xED, 0xA0, 0x80}, u"\uFFFD\uFFFD"},
      {"encoded low surrogate", {0xED, 0xBF, 0xBF}, u"\uFFFD\uFFFD"},
      {"encoded surrogate pair", {0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80}, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"above U+10FFFF", {0xF4, 0x90, 0x80, 0x80}, u"\uFFFD\uFFFD\uFFFD"},
      {"lead F5", {0xF5, 0x80, 0x80, 0x80}, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"five-byte form", {0xF8, 0x88, 0x80, 0x80, 0x80}, u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"six-byte form", {0xFC, 0x84, 0x80, 0x80, 0x80, 0x80}, u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"bytes FE and FF", {0xFE, 0xFF, 'a'}, u"\uFFFD\uFFFDa"},

      {"two-byte cut at end", {'a', 0xC2}, u"a\uFFFD"},
      {"three-byte cut after lead", {0xE2}, u"\uFFFD"},
      {"three-byte cut at end", {0xE2, 0x82}, u"\uFFFD"},
      {"four-byte cut at end", {0xF0, 0x9F, 0x98}, u"\uFFFD"},
      {"four-byte cut after two", {0xF0, 0x9F}, u"\uFFFD"},
      {"two-byte broken by ascii", {0xC2, 'A'}, u"\uFFFDA"},
      {"three-byte broken by ascii", {0xE2, 0x82, 'A'}, u"\uFFFDA"},
      {"three-byte broken early", {0xE2, 'A', 'B'}, u"\uFFFDAB"},
      {"four-byte broken by ascii", {0xF0, 0x9F, 0x98, 'A'}, u"\uFFFDA"},
      {"four-byte broken early", {0xF0, 'A', 'B', 'C'}, u"\uFFFDABC"},
      {"cut at end takes the ascii after it", {0xE2, 'A'}, u"\uFFFD"},
      {"cut four-byte at end takes the rest", {0xF0, 'A', 'B'}, u"\uFFFD"},
      {"broken by a new lead", {0xE2, 0xC3, 0xA9}, u"\uFFFD\u00E9"},
      {"two leads in a row", {0xC3, 0xC3, 0xA9}, u"\uFFFD\u00E9"},
      {"four-byte broken by a sequence", {0xF1, 0x80, 0x80, 0xC3, 0xA9}, u"\uFFFD\u00E9"},
      {"broken by a line end", {0xE2, 0x82, '\r', '\n'}, u"\uFFFD\r\n"},
      {"mixed subparts",
       {'a', 0xF1, 0x80, 0x80, 0xE1, 0x80, 0xC2, 'b', 0x80, 'c', 0x80, 0xBF, 'd'},
       u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"},
      {"cut sequences back to back",
       {0xE1, 0x80, 0xE2, 0xF0, 0x91, 0x92, 0xF1, 0xBF, 'A'},
       u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"latin-1 text read as utf-8", {'c', 'a', 'f', 0xE9, ' ', 'o', 'k'}, u"caf\uFFFD ok"},
  };
  return cases;
}

}  // namespace averlune

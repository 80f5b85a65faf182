#include "base/text_decoding.h"

#include <gtest/gtest.h>

#include "base/text_decoding_cases.h"

namespace averlune {
namespace {

using namespace std::string_literals;

TEST(DecodeUtf8, MatchesTheSystemOnWellAndIllFormedInput) {
  for (const Utf8Case& c : utf8Cases()) {
    EXPECT_EQ(decodeUtf8(std::string(c.bytes.begin(), c.bytes.end())), c.expected) << c.name;
  }
}

TEST(Latin1, EveryByteIsTheCharacterWithItsCode) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::u16string decoded = decodeLatin1(all);
  ASSERT_EQ(decoded.size(), 256u);
  for (int b = 0; b < 256; ++b) EXPECT_EQ(decoded[b], static_cast<char16_t>(b));
  // Re-encoded as UTF-8 it decodes to the same characters: 0x80 stays U+0080, not a euro sign.
  EXPECT_EQ(decodeUtf8(latin1ToUtf8(all)), decoded);
  EXPECT_EQ(latin1ToUtf8("\xE9"), "\xC3\xA9");
}

TEST(EncodeUtf8, WritesWellFormedUtf8ForAnyText) {
  const struct {
    std::u16string text;
    std::string expected;
  } rows[] = {
      {u"", ""},
      {u"A\0B"s, "A\0B"s},
      {u"\u00E9\u07FF\u0800\uFFFF", "\xC3\xA9\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
      {u"\U0001F600\U0010FFFF", "\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF"},
      // Unpaired surrogates (high at the end, low alone, a pair in the wrong order).
      {u"a"s + char16_t(0xD800), "a\xEF\xBF\xBD"},
      {std::u16string(1, char16_t(0xDC00)) + u"b", "\xEF\xBF\xBD" "b"},
      {std::u16string{char16_t(0xDC00), char16_t(0xD800)}, "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {std::u16string{char16_t(0xD800), u'x', char16_t(0xDC00)}, "\xEF\xBF\xBDx\xEF\xBF\xBD"},
  };
  for (const auto& row : rows) EXPECT_EQ(encodeUtf8(row.text), row.expected);
}

}  // namespace
}  // namespace averlune

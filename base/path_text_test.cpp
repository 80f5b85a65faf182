#include "base/path_text.h"

#include <gtest/gtest.h>

#include "base/text_decoding.h"

namespace averlune {
namespace {

TEST(AddBackslash, AppendsOnlyWhenMissing) {
  EXPECT_EQ(addBackslash(u"C:\\Program Files"), u"C:\\Program Files\\");
  EXPECT_EQ(addBackslash(u"C:\\"), u"C:\\");
  EXPECT_EQ(addBackslash(u"a/"), u"a/\\");
  EXPECT_EQ(addBackslash(u""), u"\\");
}

TEST(AsciiCase, FoldsOnlyAsciiLetters) {
  const struct {
    std::u16string a;
    std::u16string b;
    bool equal;
  } rows[] = {
      {u"Setup", u"sETUP", true},
      {u"Allow_Desktopicons", u"ALLOW_DESKTOPICONS", true},
      {u"", u"", true},
      {u"Setup", u"Setup ", false},
      // Characters next to the letters in ASCII must not fold into each other.
      {u"[", u"{", false},
      {u"@", u"`", false},
      {u"_", u"\u007F", false},
      // Non-ASCII letters match only themselves.
      {u"\u00C9", u"\u00E9", false},
      {u"\u0130", u"i", false},
      {u"K", u"\u212A", false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(equalsIgnoringAsciiCase(row.a, row.b), row.equal);
    // The 8-bit form compares the same texts as UTF-8 bytes.
    EXPECT_EQ(equalsIgnoringAsciiCase(std::string_view(encodeUtf8(row.a)), std::string_view(encodeUtf8(row.b))),
              row.equal);
  }
}

TEST(ReplaceEvery, ReplacesExactlyAndNeverRescansWhatItInserted) {
  EXPECT_EQ(replaceEvery(u"a<x>b<x>", u"<x>", u"yy"), u"ayybyy");
  EXPECT_EQ(replaceEvery(u"<x>", u"<x>", u"<x><x>"), u"<x><x>");
  EXPECT_EQ(replaceEvery(u"abc", u"", u"z"), u"abc");
  EXPECT_EQ(replaceEvery(u"<x<x>>", u"<x>", u""), u"<x>");
}

}  // namespace
}  // namespace averlune

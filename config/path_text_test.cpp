#include "config/path_text.h"

#include <gtest/gtest.h>

#include "config/special_folder.h"
#include "config/text_decoding.h"

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

TEST(FindIgnoringAsciiCase, FindsTheFirstOccurrenceFromAPosition) {
  const std::u16string text = u"<AppName>\\<appname>";
  EXPECT_EQ(findIgnoringAsciiCase(text, u"<appname>"), 0u);
  EXPECT_EQ(findIgnoringAsciiCase(text, u"<APPNAME>", 1), 10u);
  EXPECT_EQ(findIgnoringAsciiCase(text, u"<appname>", 11), std::u16string::npos);
  EXPECT_EQ(findIgnoringAsciiCase(text, u"", 0), std::u16string::npos);
  EXPECT_EQ(findIgnoringAsciiCase(text, u"x", text.size() + 5), std::u16string::npos);
}

TEST(SpecialFolder, AddsTheBackslashButKeepsAnUnknownFolderEmpty) {
  SystemLookup system;
  EXPECT_EQ(specialFolder(system, 2, true), u"");  // no lookup filled in
  system.specialFolder = [](int csidl) -> std::u16string {
    if (csidl == 2) return u"C:\\Programs";
    if (csidl == 0) return u"C:\\";
    return u"";
  };
  EXPECT_EQ(specialFolder(system, 2, true), u"C:\\Programs\\");
  EXPECT_EQ(specialFolder(system, 2, false), u"C:\\Programs");
  EXPECT_EQ(specialFolder(system, 0, true), u"C:\\");
  EXPECT_EQ(specialFolder(system, 5, true), u"");
}

}  // namespace
}  // namespace averlune

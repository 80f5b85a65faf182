#include "i18n/language_choice.h"

#include <gtest/gtest.h>

#include "base/temp_folder_test_support.h"

namespace averlune {
namespace {

TEST(LanguageList, ListsEveryLineAsWrittenAndNamesItsFile) {
  const TempFolder temp;
  std::vector<std::u16string> names = {u"left over"};
  EXPECT_FALSE(readLanguageList(temp.folder(), names));
  EXPECT_TRUE(names.empty());

  temp.write(u"languages.dat", "English\r\nDeutsch \r\n\r\n Fran\xC3\xA7" "ais\nT\xC3\xBCrk\xC3\xA7" "e\r\n");
  ASSERT_TRUE(readLanguageList(temp.folder(), names));
  const std::vector<std::u16string> expected = {u"English", u"Deutsch ", u"", u" Français", u"Türkçe"};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(languageFilePath(temp.folder(), names[1]), temp.folder() + u"Deutsch .avl");
  EXPECT_EQ(languageFilePath(temp.folder(), names[2]), temp.folder() + u".avl");

  temp.write(u"languages.dat", "");
  ASSERT_TRUE(readLanguageList(temp.folder(), names));
  EXPECT_TRUE(names.empty());

  temp.write(u"languages.dat", "Deutsch");  // a last line without a line end still counts
  ASSERT_TRUE(readLanguageList(temp.folder(), names));
  EXPECT_EQ(names, std::vector<std::u16string>{u"Deutsch"});
}

// /LANG= names a language as the list spells it, letter case aside; the listed spelling names the
// file, so "english" loads English.avl. Anything else is no language of this setup.
TEST(LanguageList, ACommandLineNameFindsItsListedSpelling) {
  const std::vector<std::u16string> names = {u"English", u"Deutsch ", u"", u"Fran\u00E7ais"};
  const struct {
    std::u16string wanted;
    std::u16string listed;
  } rows[] = {
      {u"English", u"English"}, {u"eNGLISH", u"English"},    {u"Deutsch ", u"Deutsch "},
      {u"Deutsch", u""},        {u"Fran\u00E7ais", u"Fran\u00E7ais"},
      {u"FRAN\u00C7AIS", u""},  // only ASCII letters match in any case
      {u"", u""},               // an empty /LANG= picks no empty line
      {u"Eng", u""},
  };
  for (const auto& row : rows) EXPECT_EQ(listedLanguage(names, row.wanted), row.listed);
}

TEST(ConfirmLanguage, LoadsTheNamedFileAndKeepsTheLastGoodOneOnFailure) {
  const TempFolder temp;
  temp.write(u"Deutsch .avl", "[Main]\r\nTitle = <appname> Einrichtung\r\n[Gadgets]\r\nNextBtn = Weiter >\r\n");
  temp.write(u"Deutsch.avl", "[Main]\r\nTitle = not this one\r\n");
  SetupState state;
  state.workFolder = temp.folder();
  state.options.Appname = u"Werkzeug";

  ASSERT_TRUE(confirmLanguage(state, u"Deutsch "));
  EXPECT_EQ(state.choices.languageName, u"Deutsch ");
  EXPECT_EQ(state.languageFile, temp.folder() + u"Deutsch .avl");
  EXPECT_EQ(state.languageTexts.Main.Title, u"Werkzeug Einrichtung");
  EXPECT_EQ(state.languageTexts.Gadgets.NextBtn, u"Weiter >");

  // A name without a file: the name is taken, the loaded language stays.
  EXPECT_FALSE(confirmLanguage(state, u"Klingonisch"));
  EXPECT_EQ(state.choices.languageName, u"Klingonisch");
  EXPECT_EQ(state.languageFile, temp.folder() + u"Deutsch .avl");
  EXPECT_EQ(state.languageTexts.Main.Title, u"Werkzeug Einrichtung");
}

}  // namespace
}  // namespace averlune

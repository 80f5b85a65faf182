#include "i18n/language_list.h"

#include <gtest/gtest.h>

#include "config/temp_folder_test_support.h"

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

}  // namespace
}  // namespace averlune

#include "uninstaller/closing_message.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

TEST(ClosingMessage, NamesTheItemsLeftAfterTheSuccessText) {
  UninstallTexts texts;
  texts.Success = u"Tool was successfully removed from your computer!";
  texts.ItemsLeft = u"Left (<count>):";
  EXPECT_EQ(closingMessageText(texts, {}), texts.Success);
  EXPECT_EQ(closingMessageText(texts, {u"C:\\Apps\\Tool\\held.dll", u"C:\\Apps\\Tool\\docs\\"}),
            texts.Success + u"\n\nLeft (2):\nC:\\Apps\\Tool\\held.dll\nC:\\Apps\\Tool\\docs\\");

  std::vector<std::u16string> many;
  for (char16_t c = u'a'; c <= u'l'; ++c) many.push_back(std::u16string(u"C:\\T\\") + c);
  EXPECT_EQ(closingMessageText(texts, many),
            texts.Success + u"\n\nLeft (12):\nC:\\T\\a\nC:\\T\\b\nC:\\T\\c\nC:\\T\\d\nC:\\T\\e\n...");
}

}  // namespace
}  // namespace averlune

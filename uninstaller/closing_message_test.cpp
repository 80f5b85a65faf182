#include "uninstaller/closing_message.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

// The success text only when nothing was left or passed over; otherwise what was left by name and
// what was passed over by number.
TEST(ClosingMessage, ClaimsSuccessOnlyWhenNothingWasLeftOrPassedOver) {
  UninstallTexts texts;
  texts.Success = u"Tool was successfully removed from your computer!";
  texts.Incomplete = u"Tool could not be removed completely.";
  texts.ItemsLeft = u"Left (<count>):";
  texts.PassedOver = u"Passed over (<count>).";
  auto message = [&](std::vector<std::u16string> itemsLeft, std::size_t passedOver) {
    RemovalOutcome outcome;
    outcome.itemsLeft = std::move(itemsLeft);
    outcome.recordsPassedOver = passedOver;
    return closingMessageText(texts, outcome);
  };
  EXPECT_EQ(message({}, 0), texts.Success);
  EXPECT_EQ(message({u"C:\\Apps\\Tool\\held.dll", u"C:\\Apps\\Tool\\docs\\"}, 0),
            texts.Incomplete + u"\n\nLeft (2):\nC:\\Apps\\Tool\\held.dll\nC:\\Apps\\Tool\\docs\\");
  EXPECT_EQ(message({}, 3), texts.Incomplete + u"\n\nPassed over (3).");
  EXPECT_EQ(message({u"C:\\T\\a"}, 1), texts.Incomplete + u"\n\nLeft (1):\nC:\\T\\a\n\nPassed over (1).");

  std::vector<std::u16string> many;
  for (char16_t c = u'a'; c <= u'l'; ++c) many.push_back(std::u16string(u"C:\\T\\") + c);
  EXPECT_EQ(message(many, 0),
            texts.Incomplete + u"\n\nLeft (12):\nC:\\T\\a\nC:\\T\\b\nC:\\T\\c\nC:\\T\\d\nC:\\T\\e\n...");
}

}  // namespace
}  // namespace averlune

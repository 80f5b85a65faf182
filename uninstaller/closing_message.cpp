#include "uninstaller/closing_message.h"

#include "base/path_text.h"

namespace averlune {
namespace {

std::u16string decimal(std::size_t number) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + number % 10));
    number /= 10;
  } while (number != 0);
  return digits;
}

}  // namespace

std::u16string closingMessageText(const UninstallTexts& texts, const RemovalOutcome& outcome) {
  if (!isIncomplete(outcome)) return texts.Success;
  const std::vector<std::u16string>& itemsLeft = outcome.itemsLeft;
  std::u16string text = texts.Incomplete;
  if (!itemsLeft.empty()) {
    text += u"\n\n" + replaceEvery(texts.ItemsLeft, u"<count>", decimal(itemsLeft.size()));
    for (std::size_t i = 0; i < itemsLeft.size() && i < kItemsLeftShown; ++i) text += u"\n" + itemsLeft[i];
    if (itemsLeft.size() > kItemsLeftShown) text += u"\n...";
  }
  if (outcome.recordsPassedOver != 0) {
    text += u"\n\n" + replaceEvery(texts.PassedOver, u"<count>", decimal(outcome.recordsPassedOver));
  }
  return text;
}

}  // namespace averlune

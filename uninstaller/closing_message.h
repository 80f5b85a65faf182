#pragma once
// The message at the end of an interactive uninstall.
#include <cstddef>
#include <string>
#include <vector>

#include "uninstaller/uninstall_texts.h"

namespace averlune {

// How many of the items left the message names; the count covers them all.
constexpr std::size_t kItemsLeftShown = 5;

// Success when nothing is left. Otherwise Success, an empty line, ItemsLeft with "<count>"
// replaced by the number of items left, and the first kItemsLeftShown paths one a line, "..." on a
// last line when there are more: the message must not claim that everything went.
std::u16string closingMessageText(const UninstallTexts& texts, const std::vector<std::u16string>& itemsLeft);

}  // namespace averlune

#pragma once
// The message at the end of an interactive uninstall.
#include <cstddef>
#include <string>

#include "uninstaller/removal_pass.h"
#include "uninstaller/uninstall_texts.h"

namespace averlune {

// How many of the items left the message names; the count covers them all.
constexpr std::size_t kItemsLeftShown = 5;

// Success when nothing is left or passed over: only then may the message claim that everything
// went. Otherwise Incomplete; then, when items are left, an empty line, ItemsLeft with "<count>"
// replaced by their number, and the first kItemsLeftShown one a line, "..." on a last line when
// there are more; then, when records were passed over, an empty line and PassedOver with "<count>"
// replaced by their number.
std::u16string closingMessageText(const UninstallTexts& texts, const RemovalOutcome& outcome);

}  // namespace averlune

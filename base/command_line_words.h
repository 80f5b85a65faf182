#pragma once
// The words of a command line as both programs read their switches: the program name (quoted or
// not) comes first and is skipped; words are separated by spaces and tabs; a word or a switch's
// value may be quoted, and a switch quoted whole ("/LOG=C:\a b.txt") stands for the same switch.
// Switch names match in any letter case.
#include <string>
#include <string_view>

namespace averlune {

// The command line after the program name; empty when a quoted name has no closing quote.
std::u16string_view commandLineArguments(std::u16string_view commandLine);

// `text` without the spaces and tabs at its front.
std::u16string_view skipBlanks(std::u16string_view text);

// Whether `text` starts with the switch name `name` ("/LOG=" say), letters in any case.
bool startsWithSwitch(std::u16string_view text, std::u16string_view name);

// One switch word taken off the front of `rest` (which starts with no blank): the word up to the
// next blank, or a quoted part as a whole. `value` receives the word from `valueStart` on, quotes
// taken off when the value (or, at valueStart 0, the whole word) is quoted. Returns the word as it
// stood.
std::u16string_view takeSwitchWord(std::u16string_view& rest, std::size_t valueStart, std::u16string& value);

// The next word of `rest` for a switch without a value: the word with its quotes taken off when it
// is quoted whole. Empty at the end of the line.
std::u16string nextSwitchWord(std::u16string_view& rest);

}  // namespace averlune

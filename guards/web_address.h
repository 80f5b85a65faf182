#pragma once
// Addresses that the elevated programs hand to the shell: a web site line of an uninstall log, a
// link clicked in the licence text. Both come from files someone else wrote, and the programs run
// with administrator rights: so an address is only ever opened through the shell as a web or mail
// address, never started as a program (a link such as "www.example.com" names a program of that
// name beside the setup as well).
#include <string>

namespace averlune {

// True for "http://" or "https://" (letter case aside) followed by at least one character, with no
// space, control character or double quote anywhere.
bool isWebAddress(const std::u16string& text);

// The address a clicked licence link opens: an "http://", "https://" or "mailto:" link as it
// stands, a link beginning with "www." as "http://" and the link; the empty text for anything
// else, which opens nothing. Spaces, control characters and double quotes refuse a link.
std::u16string licenceLinkAddress(const std::u16string& link);

}  // namespace averlune

#pragma once
// SHA-256 through the system's cryptographic provider (advapi32), as lower-case hexadecimal text.
// The uninstall log's digest is kept where only administrators can write (the uninstall entry
// under HKEY_LOCAL_MACHINE), so an edited log can be told from the one the setup wrote.
#include <string>

namespace averlune {

// The digest of `bytes` as 64 lower-case hexadecimal digits; empty when the provider is missing.
std::u16string sha256Hex(const std::string& bytes);

}  // namespace averlune

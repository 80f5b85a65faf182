#pragma once
// Bytes the build stores packed among the setup program's resources (the uninstaller, the built-in
// icon file), so that every setup a user downloads is smaller: the unpacked size as four bytes,
// least significant first, then the bytes in zlib's format. resources/pack_bytes.py writes them.
#include <cstddef>
#include <string>
#include <string_view>

namespace averlune {

constexpr std::size_t kPackedBytesLimit = std::size_t{64} << 20;

// The unpacked bytes. False, with `bytes` empty, when `packed` is not such a record, states more
// than kPackedBytesLimit, or does not unpack to exactly the size it states with a matching check
// sum: a damaged resource never yields a cut or altered file.
bool unpackBytes(std::string_view packed, std::string& bytes);

}  // namespace averlune

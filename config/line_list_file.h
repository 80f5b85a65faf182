#pragma once
// Reader of the line-list configuration files (languages.dat, Variables.dat, Desktop.dat,
// Startmenu.dat, Registry.dat, the uninstall log): a sequence of UTF-8 lines, read one at a time,
// with 4-byte numbers in between where a format has them. Lines and numbers come from one byte
// position, so callers may mix readLine and readUInt32 freely.
//
// Lines end at CR LF, a lone CR, a lone LF or a NUL byte; the line end is not part of the line.
// No byte-order mark is recognised and nothing is trimmed. A file that ends with a line end has no
// empty last line after it. The whole file is read at open; a reader that is not open is at its
// end and reads empty lines and zeros.
#include <cstddef>
#include <cstdint>
#include <string>

namespace averlune {

struct LineListFile {
  bool isOpen = false;
  std::string bytes;
  std::size_t position = 0;
};

// Closes `file`, then reads the file at `path`. False when it does not exist or cannot be read.
bool open(LineListFile& file, const std::u16string& path);

// The same from bytes already in memory; always succeeds.
void openBytes(LineListFile& file, std::string bytes);

// True exactly when no byte remains to be read.
bool atEnd(const LineListFile& file);

// The next line decoded from UTF-8; the empty text when nothing remains.
std::u16string readLine(LineListFile& file);

// The next 4 bytes as an unsigned little-endian number; bytes missing at the end count as 0.
std::uint32_t readUInt32(LineListFile& file);

void close(LineListFile& file);

}  // namespace averlune

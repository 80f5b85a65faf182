#include "authoring/cabinet_writer.h"

#include <zlib.h>

#include <algorithm>
#include <utility>

#include "authoring/code_page_names.h"

namespace averlune {
namespace {

constexpr std::size_t kHeaderBytes = 36;
constexpr std::size_t kFolderBytes = 8;
constexpr std::size_t kFileFixedBytes = 16;
constexpr std::size_t kDataHeaderBytes = 8;
constexpr std::uint16_t kCompressMszip = 1;
constexpr std::uint16_t kAttributeNameIsUtf8 = 0x80;

void put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  out[at] = static_cast<std::uint8_t>(value);
  out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  put16(out, at, value & 0xFFFF);
  put16(out, at + 2, value >> 16);
}

// The name as the cabinet stores it, and whether it is flagged as UTF-8. The platform's cabinet
// iteration reads names in the ANSI code page and not every implementation honours the flag, so
// names go in code page 1252 where they can; only the rest are stored as flagged UTF-8.
std::pair<std::string, bool> storedName(const std::string& utf8) {
  if (auto ansi = toAnsiName(utf8)) return {*ansi, false};
  return {utf8, true};
}

// One raw deflate stream per block, so every block stands on its own for any reader.
struct BlockCompressor {
  z_stream stream{};
  bool ready = false;
  BlockCompressor() { ready = deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK; }
  ~BlockCompressor() {
    if (ready) deflateEnd(&stream);
  }
  BlockCompressor(const BlockCompressor&) = delete;
  BlockCompressor& operator=(const BlockCompressor&) = delete;

  // Appends "CK" and the compressed block to `out`; false when zlib fails.
  bool compress(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out) {
    if (!ready || deflateReset(&stream) != Z_OK) return false;
    const std::size_t start = out.size();
    const uLong bound = deflateBound(&stream, static_cast<uLong>(size));
    out.resize(start + 2 + bound);
    out[start] = 'C';
    out[start + 1] = 'K';
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    stream.next_out = out.data() + start + 2;
    stream.avail_out = static_cast<uInt>(bound);
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END) return false;
    out.resize(start + 2 + (bound - stream.avail_out));
    return true;
  }
};

}  // namespace

std::uint32_t cabinetChecksum(const std::uint8_t* data, std::size_t size, std::uint32_t seed) {
  std::uint32_t sum = seed;
  std::size_t at = 0;
  for (; at + 4 <= size; at += 4) {
    sum ^= static_cast<std::uint32_t>(data[at]) | static_cast<std::uint32_t>(data[at + 1]) << 8 |
           static_cast<std::uint32_t>(data[at + 2]) << 16 | static_cast<std::uint32_t>(data[at + 3]) << 24;
  }
  // The last one to three bytes are folded in with the first of them highest.
  std::uint32_t tail = 0;
  for (; at < size; ++at) tail = (tail << 8) | data[at];
  return sum ^ tail;
}

std::string buildCabinet(const std::vector<CabinetEntry>& files, std::vector<std::uint8_t>& cabinet) {
  cabinet.clear();
  if (files.empty()) return "a cabinet needs at least one file";
  if (files.size() > kCabinetMaxFiles) return "a cabinet holds at most 65535 files";

  std::uint64_t folderBytes = 0;
  std::size_t fileTableBytes = 0;
  std::vector<std::pair<std::string, bool>> names;
  for (const CabinetEntry& file : files) {
    if (file.name.empty()) return "a file in the cabinet has no name";
    if (file.name.find('\0') != std::string::npos) return "the name " + file.name + " holds a zero byte";
    names.push_back(storedName(file.name));
    const std::string& name = names.back().first;
    if (name.size() > kCabinetMaxNameBytes) return "the name " + file.name + " is longer than 255 bytes";
    folderBytes += file.data.size();
    if (folderBytes > kCabinetMaxFolderBytes) return "the configuration files are larger than a cabinet can hold";
    fileTableBytes += kFileFixedBytes + name.size() + 1;
  }

  const std::size_t filesOffset = kHeaderBytes + kFolderBytes;
  const std::size_t dataOffset = filesOffset + fileTableBytes;
  cabinet.assign(dataOffset, 0);

  // The folder's uncompressed stream is every file's data in order; blocks cut it every 32 KiB,
  // straight through file boundaries.
  std::vector<std::uint8_t> stream;
  stream.reserve(static_cast<std::size_t>(folderBytes));
  std::size_t at = filesOffset;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const CabinetEntry& file = files[i];
    const auto& [name, isUtf8] = names[i];
    put32(cabinet, at, static_cast<std::uint32_t>(file.data.size()));
    put32(cabinet, at + 4, static_cast<std::uint32_t>(stream.size()));
    put16(cabinet, at + 8, 0);  // folder 0
    put16(cabinet, at + 10, file.modified.date);
    put16(cabinet, at + 12, file.modified.time);
    std::uint16_t attributes = file.attributes & ~kAttributeNameIsUtf8;
    if (isUtf8) attributes |= kAttributeNameIsUtf8;
    put16(cabinet, at + 14, attributes);
    std::copy(name.begin(), name.end(), cabinet.begin() + static_cast<std::ptrdiff_t>(at + kFileFixedBytes));
    at += kFileFixedBytes + name.size() + 1;
    stream.insert(stream.end(), file.data.begin(), file.data.end());
  }

  BlockCompressor compressor;
  std::size_t blocks = 0;
  std::vector<std::uint8_t> compressed;
  for (std::size_t offset = 0; offset < stream.size(); offset += kMszipBlockBytes) {
    const std::size_t size = std::min(kMszipBlockBytes, stream.size() - offset);
    compressed.clear();
    if (!compressor.compress(stream.data() + offset, size, compressed) || compressed.size() > 0xFFFF) {
      cabinet.clear();
      return "cannot compress the configuration files";
    }
    const std::size_t block = cabinet.size();
    cabinet.resize(block + kDataHeaderBytes);
    put16(cabinet, block + 4, static_cast<std::uint32_t>(compressed.size()));
    put16(cabinet, block + 6, static_cast<std::uint32_t>(size));
    cabinet.insert(cabinet.end(), compressed.begin(), compressed.end());
    const std::uint32_t dataSum = cabinetChecksum(compressed.data(), compressed.size(), 0);
    put32(cabinet, block, cabinetChecksum(cabinet.data() + block + 4, 4, dataSum));
    ++blocks;
  }

  if (cabinet.size() > UINT32_MAX) {
    cabinet.clear();
    return "the configuration files are larger than a cabinet can hold";
  }
  cabinet[0] = 'M';
  cabinet[1] = 'S';
  cabinet[2] = 'C';
  cabinet[3] = 'F';
  put32(cabinet, 8, static_cast<std::uint32_t>(cabinet.size()));
  put32(cabinet, 16, static_cast<std::uint32_t>(filesOffset));
  cabinet[24] = 3;  // format version 1.3
  cabinet[25] = 1;
  put16(cabinet, 26, 1);  // folders
  put16(cabinet, 28, static_cast<std::uint32_t>(files.size()));
  // Flags 0 (no reserve, no neighbouring cabinets), set 0, index 0 in the set.
  put32(cabinet, kHeaderBytes, static_cast<std::uint32_t>(dataOffset));
  put16(cabinet, kHeaderBytes + 4, static_cast<std::uint32_t>(blocks));
  put16(cabinet, kHeaderBytes + 6, kCompressMszip);
  return {};
}

}  // namespace averlune

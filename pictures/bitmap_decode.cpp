#include "pictures/bitmap_decode.h"

#include <array>
#include <cstdint>
#include <vector>

namespace averlune {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

enum Compression : std::uint32_t { plain = 0, runLength8 = 1, runLength4 = 2, bitFields = 3 };

using Colour = std::array<std::uint8_t, 3>;  // red, green, blue

// One colour of a packed pixel: where its bits sit and how many there are.
struct Channel {
  int shift = 0;
  int width = 0;
};

struct Layout {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bitCount = 0;
  std::uint32_t compression = plain;
  std::vector<Colour> colourTable;
  std::array<Channel, 3> channels;  // packed pixels of 16 and 32 bits
  std::size_t pixelsAt = 0;
};

std::uint32_t read16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint8_t>(bytes[at]) | static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 1])) << 8;
}

std::uint32_t read32(std::string_view bytes, std::size_t at) {
  return read16(bytes, at) | read16(bytes, at + 2) << 16;
}

Channel channelOf(std::uint32_t mask) {
  Channel channel;
  if (mask == 0) return channel;
  while (!(mask & 1)) {
    mask >>= 1;
    ++channel.shift;
  }
  while (mask & 1) {
    mask >>= 1;
    ++channel.width;
  }
  return channel;  // bits above a gap in the mask are not part of the colour
}

// A field of `width` bits widened to 8 by repeating its bits (31 of 5 bits becomes 255), or
// narrowed to its top 8 bits.
std::uint8_t widen(std::uint32_t pixel, const Channel& channel) {
  if (channel.width == 0) return 0;
  const std::uint32_t field = (pixel >> channel.shift) & ((std::uint32_t{1} << channel.width) - 1);
  if (channel.width >= 8) return static_cast<std::uint8_t>(field >> (channel.width - 8));
  std::uint32_t value = field << (8 - channel.width);
  for (int filled = channel.width; filled < 8; filled += channel.width) value |= value >> channel.width;
  return static_cast<std::uint8_t>(value);
}

bool validCombination(const Layout& layout) {
  switch (layout.compression) {
    case plain:
      return layout.bitCount == 1 || layout.bitCount == 4 || layout.bitCount == 8 || layout.bitCount == 16 ||
             layout.bitCount == 24 || layout.bitCount == 32;
    case runLength8:
      return layout.bitCount == 8 && !layout.topDown;
    case runLength4:
      return layout.bitCount == 4 && !layout.topDown;
    case bitFields:
      return layout.bitCount == 16 || layout.bitCount == 32;
    default:
      return false;
  }
}

// The headers, colour table and bit fields; false for anything this decoder does not read.
bool readLayout(std::string_view bytes, Layout& layout) {
  if (bytes.size() < kFileHeaderSize + kCoreHeaderSize || !looksLikeBitmap(bytes)) return false;
  layout.pixelsAt = read32(bytes, 10);
  const std::uint32_t headerSize = read32(bytes, kFileHeaderSize);
  const std::size_t header = kFileHeaderSize;
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::size_t tableAt = header + headerSize;
  std::size_t entrySize = 4;
  std::uint32_t colourCount = 0;
  if (headerSize == kCoreHeaderSize) {
    width = read16(bytes, header + 4);
    height = read16(bytes, header + 6);
    layout.bitCount = static_cast<int>(read16(bytes, header + 10));
    entrySize = 3;
  } else if (headerSize >= kInfoHeaderSize && headerSize <= bytes.size() - header) {
    width = static_cast<std::int32_t>(read32(bytes, header + 4));
    height = static_cast<std::int32_t>(read32(bytes, header + 8));
    layout.bitCount = static_cast<int>(read16(bytes, header + 14));
    layout.compression = read32(bytes, header + 16);
    colourCount = read32(bytes, header + 32);
  } else {
    return false;
  }
  layout.topDown = height < 0;
  if (height < 0) height = -height;
  if (!validCombination(layout) || !pictureFitsMemoryBound(width, height)) return false;
  layout.width = static_cast<int>(width);
  layout.height = static_cast<int>(height);

  if (layout.compression == bitFields) {
    // The masks follow the plain info header; later headers hold them at the same place.
    const std::size_t masksAt = header + kInfoHeaderSize;
    if (bytes.size() < masksAt + 12) return false;
    for (std::size_t c = 0; c < 3; ++c) layout.channels[c] = channelOf(read32(bytes, masksAt + 4 * c));
    if (headerSize == kInfoHeaderSize) tableAt += 12;
  } else if (layout.bitCount == 16) {
    layout.channels = {Channel{10, 5}, Channel{5, 5}, Channel{0, 5}};
  }

  if (layout.bitCount <= 8) {
    const std::uint32_t most = std::uint32_t{1} << layout.bitCount;
    if (colourCount == 0 || colourCount > most) colourCount = most;
    if (tableAt > bytes.size() || (bytes.size() - tableAt) / entrySize < colourCount) return false;
    for (std::uint32_t i = 0; i < colourCount; ++i) {
      const std::size_t at = tableAt + i * entrySize;  // blue, green, red
      layout.colourTable.push_back({static_cast<std::uint8_t>(bytes[at + 2]), static_cast<std::uint8_t>(bytes[at + 1]),
                                    static_cast<std::uint8_t>(bytes[at])});
    }
  }
  return layout.pixelsAt <= bytes.size();
}

void put(Picture& picture, std::int64_t x, std::int64_t y, const Colour& colour) {
  if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return;
  std::uint8_t* out = &picture.rgb[(static_cast<std::size_t>(y) * picture.width + static_cast<std::size_t>(x)) * 3];
  out[0] = colour[0];
  out[1] = colour[1];
  out[2] = colour[2];
}

// Colour table entries past the table's end are black.
Colour tableColour(const Layout& layout, std::uint32_t index) {
  return index < layout.colourTable.size() ? layout.colourTable[index] : Colour{0, 0, 0};
}

Colour pixelAt(std::string_view row, int x, const Layout& layout) {
  switch (layout.bitCount) {
    case 1:
    case 4:
    case 8: {
      const std::size_t bit = static_cast<std::size_t>(x) * layout.bitCount;
      const std::uint32_t byte = static_cast<std::uint8_t>(row[bit / 8]);
      const std::uint32_t index = (byte >> (8 - layout.bitCount - bit % 8)) & ((1u << layout.bitCount) - 1);
      return tableColour(layout, index);
    }
    case 24: {
      const std::size_t at = static_cast<std::size_t>(x) * 3;
      return {static_cast<std::uint8_t>(row[at + 2]), static_cast<std::uint8_t>(row[at + 1]),
              static_cast<std::uint8_t>(row[at])};
    }
    default: {
      const std::uint32_t pixel = layout.bitCount == 16 ? read16(row, static_cast<std::size_t>(x) * 2)
                                                        : read32(row, static_cast<std::size_t>(x) * 4);
      if (layout.bitCount == 32 && layout.compression == plain) {
        return {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
                static_cast<std::uint8_t>(pixel)};
      }
      return {widen(pixel, layout.channels[0]), widen(pixel, layout.channels[1]), widen(pixel, layout.channels[2])};
    }
  }
}

bool decodeRows(std::string_view bytes, const Layout& layout, Picture& picture) {
  const std::size_t stride = (static_cast<std::size_t>(layout.width) * layout.bitCount + 31) / 32 * 4;
  if ((bytes.size() - layout.pixelsAt) / stride < static_cast<std::size_t>(layout.height)) return false;
  for (int r = 0; r < layout.height; ++r) {
    const std::string_view row = bytes.substr(layout.pixelsAt + static_cast<std::size_t>(r) * stride, stride);
    const int y = layout.topDown ? r : layout.height - 1 - r;
    for (int x = 0; x < layout.width; ++x) put(picture, x, y, pixelAt(row, x, layout));
  }
  return true;
}

// Run-length data: pairs of (count, index) or escapes (0, code): end of line, end of picture,
// a jump, or a run of literal indexes padded to whole 16-bit words. Rows run bottom first.
void decodeRuns(std::string_view bytes, const Layout& layout, Picture& picture) {
  const bool nibbles = layout.compression == runLength4;
  auto indexAt = [&](std::size_t start, std::uint32_t i) -> std::uint32_t {
    if (!nibbles) return static_cast<std::uint8_t>(bytes[start + i]);
    const std::uint32_t byte = static_cast<std::uint8_t>(bytes[start + i / 2]);
    return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
  };
  std::int64_t x = 0;
  std::int64_t line = 0;
  std::size_t at = layout.pixelsAt;
  while (at + 2 <= bytes.size() && line < layout.height) {
    const std::uint32_t count = static_cast<std::uint8_t>(bytes[at]);
    const std::uint32_t code = static_cast<std::uint8_t>(bytes[at + 1]);
    at += 2;
    if (count > 0) {
      const std::uint32_t high = nibbles ? code >> 4 : code;
      const std::uint32_t low = nibbles ? code & 0x0F : code;
      for (std::uint32_t i = 0; i < count; ++i, ++x) {
        put(picture, x, layout.height - 1 - line, tableColour(layout, i % 2 == 0 ? high : low));
      }
    } else if (code == 0) {
      x = 0;
      ++line;
    } else if (code == 1) {
      return;
    } else if (code == 2) {
      if (at + 2 > bytes.size()) return;
      x += static_cast<std::uint8_t>(bytes[at]);
      line += static_cast<std::uint8_t>(bytes[at + 1]);
      at += 2;
    } else {
      const std::size_t length = nibbles ? (code + 1) / 2 : code;
      if (length > bytes.size() - at) return;
      for (std::uint32_t i = 0; i < code; ++i, ++x) {
        put(picture, x, layout.height - 1 - line, tableColour(layout, indexAt(at, i)));
      }
      at += length + length % 2;
    }
  }
}

}  // namespace

bool looksLikeBitmap(std::string_view bytes) { return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M'; }

bool decodeBitmap(std::string_view bytes, Picture& picture) {
  picture = Picture{};
  Layout layout;
  if (!readLayout(bytes, layout)) return false;
  if (!allocatePicture(picture, layout.width, layout.height)) return false;
  if (layout.compression == runLength8 || layout.compression == runLength4) {
    decodeRuns(bytes, layout, picture);
    return true;
  }
  if (!decodeRows(bytes, layout, picture)) {
    picture = Picture{};
    return false;
  }
  return true;
}

}  // namespace averlune

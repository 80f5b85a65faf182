#include "authoring/picture_header.h"

#include <cstdint>
#include <cstdlib>

namespace averlune {
namespace {

std::uint32_t byteAt(std::string_view bytes, std::size_t at) { return static_cast<unsigned char>(bytes[at]); }

std::uint32_t bigEndian16(std::string_view bytes, std::size_t at) { return byteAt(bytes, at) << 8 | byteAt(bytes, at + 1); }

std::uint32_t littleEndian16(std::string_view bytes, std::size_t at) { return byteAt(bytes, at) | byteAt(bytes, at + 1) << 8; }

std::uint32_t littleEndian32(std::string_view bytes, std::size_t at) {
  return littleEndian16(bytes, at) | littleEndian16(bytes, at + 2) << 16;
}

// Start-of-frame markers: C0 to CF except C4 (Huffman tables), C8 (reserved) and CC (arithmetic
// conditioning). Lossless frames (C3, C7, CB, CF) are not decoded.
bool isFrameMarker(std::uint32_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}
bool isLossless(std::uint32_t marker) { return (marker & 0x03) == 0x03; }

std::string frameProblem(std::string_view bytes, std::size_t at, std::uint32_t marker) {
  if (isLossless(marker)) return "it is a lossless JPEG, which the setup cannot decode";
  const std::uint32_t height = bigEndian16(bytes, at + 5);
  const std::uint32_t width = bigEndian16(bytes, at + 7);
  const std::uint32_t components = byteAt(bytes, at + 9);
  if (width == 0 || height == 0) return "its frame header gives no size";
  if (width > kPictureMaxSide || height > kPictureMaxSide) {
    return "it is " + std::to_string(width) + " x " + std::to_string(height) + " pixels; the setup decodes at most " +
           std::to_string(kPictureMaxSide) + " on a side";
  }
  if (components != 1 && components != 3) return "it has " + std::to_string(components) + " colour components (CMYK?); the setup decodes grey and colour pictures only";
  return {};
}

}  // namespace

std::string jpegProblem(std::string_view bytes) {
  if (bytes.size() < 4 || byteAt(bytes, 0) != 0xFF || byteAt(bytes, 1) != 0xD8) return "it is not a JPEG picture";
  bool framed = false;
  std::size_t at = 2;
  while (true) {
    if (at >= bytes.size() || byteAt(bytes, at) != 0xFF) return "its structure is broken or cut short";
    while (at < bytes.size() && byteAt(bytes, at) == 0xFF) ++at;  // fill bytes
    if (at >= bytes.size()) return "it is cut short";
    const std::uint32_t marker = byteAt(bytes, at++);
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // markers without a length
    if (marker == 0xD9 || marker == 0xD8) return "its structure is broken: no picture data";
    if (at + 2 > bytes.size()) return "it is cut short";
    const std::size_t length = bigEndian16(bytes, at);
    if (length < 2 || at + length > bytes.size()) return "it is cut short";
    if (isFrameMarker(marker)) {
      if (length < 8) return "its frame header is broken";
      if (std::string problem = frameProblem(bytes, at - 2, marker); !problem.empty()) return problem;
      framed = true;
    }
    if (marker == 0xDA) {
      if (!framed) return "its picture data comes before any frame header";
      // The entropy-coded data runs to the end marker; libjpeg ignores bytes after it.
      if (bytes.find("\xFF\xD9", at + length) == std::string_view::npos) return "it is cut short: no end marker";
      return {};
    }
    at += length;
  }
}

std::string bitmapProblem(std::string_view bytes) {
  constexpr std::size_t kFileHeader = 14;
  if (bytes.size() < kFileHeader + 12 || bytes.substr(0, 2) != "BM") return "it is not a Windows bitmap";
  const std::uint32_t headerSize = littleEndian32(bytes, kFileHeader);
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t planes = 0;
  std::uint32_t bits = 0;
  std::uint32_t compression = 0;
  if (headerSize == 12) {
    width = littleEndian16(bytes, kFileHeader + 4);
    height = littleEndian16(bytes, kFileHeader + 6);
    planes = littleEndian16(bytes, kFileHeader + 8);
    bits = littleEndian16(bytes, kFileHeader + 10);
  } else if (headerSize >= 40 && headerSize <= 124 && bytes.size() >= kFileHeader + 40) {
    width = static_cast<std::int32_t>(littleEndian32(bytes, kFileHeader + 4));
    height = static_cast<std::int32_t>(littleEndian32(bytes, kFileHeader + 8));
    planes = littleEndian16(bytes, kFileHeader + 12);
    bits = littleEndian16(bytes, kFileHeader + 14);
    compression = littleEndian32(bytes, kFileHeader + 16);
  } else {
    return "its bitmap header is of an unknown kind or cut short";
  }
  if (planes != 1 || (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
    return "its bitmap header is broken (" + std::to_string(bits) + " bits a pixel)";
  }
  if (width <= 0 || height == 0) return "its bitmap header gives no size";
  if (compression > 3) return "it is a compressed bitmap (JPEG or PNG inside), which the setup does not load";
  const std::uint32_t dataOffset = littleEndian32(bytes, 10);
  if (dataOffset < kFileHeader + headerSize || dataOffset >= bytes.size()) return "its pixel data is missing";
  if (compression == 0 || compression == 3) {
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    if (dataOffset + rowBytes * static_cast<std::uint64_t>(std::llabs(height)) > bytes.size()) return "it is cut short";
  }
  return {};
}

}  // namespace averlune

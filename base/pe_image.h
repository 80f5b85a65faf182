#pragma once
// The layout of a Windows program or library file as stored on disk (PE32 or PE32+): where its
// data directories lie and which bytes of the file each loaded address reads. The bytes come from
// outside (a setup author's plug-in, a file given as the bare setup program): every offset and
// count read from them is checked against the file before it is used, and nothing here holds more
// than the file's own section table.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace averlune {

// Whether `bytes` holds all `length` bytes from `offset`, with no sum that could wrap around.
bool fileHolds(std::string_view bytes, std::uint64_t offset, std::uint64_t length);

// The little-endian field at `offset`; nothing when it does not lie wholly inside `bytes`.
std::optional<std::uint16_t> fileU16(std::string_view bytes, std::uint64_t offset);
std::optional<std::uint32_t> fileU32(std::string_view bytes, std::uint64_t offset);

// Entries of the optional header's data directory table.
constexpr std::uint32_t kPeExportDirectory = 0;
constexpr std::uint32_t kPeResourceDirectory = 2;

struct PeDirectory {
  std::uint32_t address = 0;  // once loaded
  std::uint32_t size = 0;
};

class PeImage {
 public:
  // Nothing when `bytes` is no PE image: no DOS or PE signature, an optional header of another
  // kind, or a header or section table that the file does not hold in full. The image keeps a
  // view of `bytes`, which must outlive it.
  static std::optional<PeImage> open(std::string_view bytes);

  // Data directory `index` as the optional header gives it; nothing when the header declares
  // fewer directories or is too short to hold that one.
  std::optional<PeDirectory> directory(std::uint32_t index) const;

  std::size_t sectionCount() const { return sections_.size(); }

  // The bytes at `rva` up to the end of its section's readable part; empty when unmapped.
  // Addresses are 32 bits: one computed past that range is unmapped, never wrapped around.
  std::string_view at(std::uint64_t rva) const;

  // The file offset of the `length` bytes at `rva`; nothing unless one section holds them all.
  std::optional<std::size_t> fileOffset(std::uint64_t rva, std::uint64_t length) const;

 private:
  // Where a section's bytes lie in the file and which addresses they take once loaded. Only the
  // part that is both stored and inside the section's loaded size is readable: the loader drops
  // stored bytes past the loaded size and zero-fills loaded bytes past the stored ones.
  struct Section {
    std::uint32_t address = 0;
    std::uint32_t size = 0;
    std::uint32_t fileOffset = 0;
  };

  // The section holding `rva`, the first of them where crafted sections overlap.
  const Section* sectionOf(std::uint64_t rva) const;

  std::string_view bytes_;
  std::uint64_t optionalHeader_ = 0;
  std::uint16_t optionalSize_ = 0;
  std::uint64_t directoryCountField_ = 0;
  std::vector<Section> sections_;
};

}  // namespace averlune

#include "authoring/program_resource.h"

#include <string_view>

#include "base/pe_image.h"

namespace averlune {
namespace {

constexpr std::uint64_t kDirectoryHeaderSize = 16;
constexpr std::uint64_t kDirectoryEntrySize = 8;
constexpr std::uint64_t kDataEntrySize = 16;
constexpr std::uint32_t kSubdirectoryFlag = 0x80000000u;

// The entry of the directory at `directory` (an offset inside `tree`, the resource section's bytes)
// that is numbered `id`, or its first entry when `id` is empty; the raw offset field of that entry.
std::optional<std::uint32_t> directoryEntry(std::string_view tree, std::uint64_t directory,
                                            std::optional<std::uint16_t> id) {
  if (!fileHolds(tree, directory, kDirectoryHeaderSize)) return std::nullopt;
  const std::uint64_t named = *fileU16(tree, directory + 12);
  const std::uint64_t numbered = *fileU16(tree, directory + 14);
  const std::uint64_t entries = directory + kDirectoryHeaderSize;
  if (!fileHolds(tree, entries, (named + numbered) * kDirectoryEntrySize)) return std::nullopt;
  // Named entries come first and are never what a number asks for.
  for (std::uint64_t i = id ? named : 0; i < named + numbered; ++i) {
    const std::uint64_t entry = entries + i * kDirectoryEntrySize;
    if (!id || *fileU32(tree, entry) == *id) return *fileU32(tree, entry + 4);
  }
  return std::nullopt;
}

}  // namespace

std::optional<ResourceSpan> findProgramResource(const std::uint8_t* data, std::size_t size, std::uint16_t type,
                                                std::uint16_t id) {
  const auto image = PeImage::open(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!image) return std::nullopt;
  const auto resources = image->directory(kPeResourceDirectory);
  if (!resources || resources->size == 0) return std::nullopt;
  const std::string_view tree = image->at(resources->address).substr(0, resources->size);
  if (tree.size() < resources->size) return std::nullopt;

  // Three levels, always: type, name, language. Each offset is relative to the tree's start.
  const auto types = directoryEntry(tree, 0, type);
  if (!types || !(*types & kSubdirectoryFlag)) return std::nullopt;
  const auto names = directoryEntry(tree, *types & ~kSubdirectoryFlag, id);
  if (!names || !(*names & kSubdirectoryFlag)) return std::nullopt;
  const auto language = directoryEntry(tree, *names & ~kSubdirectoryFlag, std::nullopt);
  if (!language || (*language & kSubdirectoryFlag) || !fileHolds(tree, *language, kDataEntrySize)) return std::nullopt;

  const std::uint32_t dataSize = *fileU32(tree, *language + 4);
  const auto dataOffset = image->fileOffset(*fileU32(tree, *language), dataSize);
  if (!dataOffset) return std::nullopt;
  return ResourceSpan{*dataOffset, dataSize};
}

}  // namespace averlune

#pragma once
// Finds one resource of a Windows program file: how the builder takes the uninstaller out of the
// bare setup program to sign it. The bytes may come from anywhere (a damaged or hostile file given
// as the setup program): every offset and count read from them is checked against `size` before it
// is used, and the walk of the resource tree has a fixed depth, so no input reads out of bounds or
// runs long.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace averlune {

struct ResourceSpan {
  std::size_t offset = 0;  // from the start of the file
  std::size_t size = 0;
};

// Where the data of the resource of numbered `type` and numbered `id` lies in the program file
// `data` of `size` bytes; its first language when it has several. Nothing when the file is no PE
// program, has no such resource, or any structure on the way lies outside the file.
std::optional<ResourceSpan> findProgramResource(const std::uint8_t* data, std::size_t size, std::uint16_t type,
                                                std::uint16_t id);

constexpr std::uint16_t kResourceTypeRcData = 10;

}  // namespace averlune

#pragma once
// The payload container appended to the setup program:
//
//   offset B          8 bytes  N, length of the configuration cabinet, unsigned little-endian
//   offset B + 8      N bytes  the configuration cabinet
//   offset B + 8 + N  Z bytes  the payload archive (ZIP, offsets relative to its own start)
//   last 4 bytes      Z, length of the payload archive, unsigned little-endian
//
// B is the length of the setup program's executable image: the end of the raw data of its last
// section, read from the PE headers. Signing the finished setup appends a certificate table after
// the container (named by the PE security directory), so the payload archive ends where that table
// begins. Nothing here touches a file; callers pass bytes.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace averlune {

constexpr std::size_t kCabinetLengthSize = 8;
constexpr std::size_t kArchiveLengthSize = 4;

// Length of the PE image at the start of `data` (the end of the last section's raw data), or
// nothing when `data` does not start with complete DOS, PE and section headers. `data` needs to
// hold the headers only, not the whole file.
std::optional<std::uint64_t> peImageLength(const std::uint8_t* data, std::size_t size);

// Where the payload ends in a file of `fileSize` bytes that starts with `headers`: at the start of
// the certificate table when the PE security directory names one that lies after the image and
// runs to the end of the file, at the end of the file otherwise (no PE file, no table, or a
// directory entry that points anywhere else).
std::uint64_t payloadEnd(const std::uint8_t* headers, std::size_t size, std::uint64_t fileSize);

// How many of a file's first bytes payloadEnd needs at most for the PE files this setup writes.
constexpr std::size_t kPeHeadersReadSize = 4096;

std::uint64_t readLittleEndian64(const std::uint8_t* bytes);
std::uint32_t readLittleEndian32(const std::uint8_t* bytes);
void writeLittleEndian64(std::uint64_t value, std::uint8_t* bytes);
void writeLittleEndian32(std::uint32_t value, std::uint8_t* bytes);

// Where the cabinet lies inside a file of `fileSize` bytes whose container starts at
// `containerOffset` and declares a cabinet of `cabinetLength` bytes.
struct CabinetSpan {
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
};

// The cabinet's place, or nothing when the declared length runs past the end of the file (a
// damaged or truncated setup), so that the copy never hands on bytes that are not there.
std::optional<CabinetSpan> locateCabinet(std::uint64_t containerOffset, std::uint64_t cabinetLength,
                                         std::uint64_t fileSize);

}  // namespace averlune

#include "config/packed_bytes.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>

namespace averlune {
namespace {

// What resources/pack_bytes.py writes, with the stated size given separately.
std::string packed(const std::string& bytes, std::uint32_t statedSize) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  std::string stream(size, '\0');
  compress2(reinterpret_cast<Bytef*>(stream.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
            static_cast<uLong>(bytes.size()), 9);
  stream.resize(size);
  std::string record;
  for (int i = 0; i < 4; ++i) record.push_back(static_cast<char>(statedSize >> (8 * i)));
  return record + stream;
}

TEST(UnpackBytes, GivesBackExactlyWhatWasPacked) {
  std::string program;
  for (int i = 0; i < 200000; ++i) program.push_back(static_cast<char>((i * 7919) % 251));
  std::string bytes;
  ASSERT_TRUE(unpackBytes(packed(program, 200000), bytes));
  EXPECT_EQ(bytes, program);
}

// A damaged resource must never give a cut or altered file: every kind of damage is refused.
TEST(UnpackBytes, RefusesEveryDamagedRecord) {
  const std::string original(5000, 'x');
  const std::string good = packed(original, 5000);
  std::string flipped = good;
  flipped[flipped.size() - 2] ^= 0x40;  // inside the check sum
  std::string corrupted = good;
  corrupted[8] ^= 0x10;  // inside the compressed data
  const struct {
    const char* name;
    std::string record;
  } rows[] = {
      {"empty", ""},
      {"shorter than its size field", good.substr(0, 3)},
      {"a size and no data", good.substr(0, 4)},
      {"cut in the middle", good.substr(0, good.size() / 2)},
      {"stating more than it holds", packed(original, 5001)},
      {"stating less than it holds", packed(original, 4999)},
      {"stating nothing", packed("", 0)},
      {"stating more than the limit", packed(original, static_cast<std::uint32_t>(kPackedBytesLimit + 1))},
      {"a wrong check sum", flipped},
      {"damaged data", corrupted},
  };
  for (const auto& row : rows) {
    std::string bytes = "left over";
    EXPECT_FALSE(unpackBytes(row.record, bytes)) << row.name;
    EXPECT_TRUE(bytes.empty()) << row.name;
  }
}

}  // namespace
}  // namespace averlune

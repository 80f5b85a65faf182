#include "guards/sha256_win.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

TEST(Sha256, KnownDigests) {
  EXPECT_EQ(sha256Hex(""), u"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(sha256Hex("abc"), u"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  // Bytes that are no text, as the log's 4-byte numbers are.
  EXPECT_EQ(sha256Hex(std::string("\x07\x00\x00\x00", 4)),
            u"e8613f5a5bc9f9feeda32a8e7c80b69dd4878e47b6a91723fb15eb84236b6a2b");
}

}  // namespace
}  // namespace averlune

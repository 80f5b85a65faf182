#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "base/text_decoding.h"
#include "base/text_decoding_cases.h"
#include "base/wide_text_win.h"

namespace averlune {
namespace {

std::string hexUnits(const std::u16string& text) {
  std::string out;
  char buffer[8];
  for (char16_t unit : text) {
    snprintf(buffer, sizeof buffer, "%04X ", static_cast<unsigned>(unit));
    out += buffer;
  }
  return out;
}

std::u16string systemDecodeUtf8(const std::vector<unsigned char>& bytes) {
  if (bytes.empty()) return {};
  const auto* source = reinterpret_cast<const char*>(bytes.data());
  const int length = MultiByteToWideChar(CP_UTF8, 0, source, static_cast<int>(bytes.size()), nullptr, 0);
  if (length <= 0) return u"<conversion failed>";
  std::wstring out(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, source, static_cast<int>(bytes.size()), &out[0], length);
  return fromWide(out.data(), out.size());
}

std::string systemEncodeUtf8(const std::u16string& text) {
  if (text.empty()) return {};
  const auto* source = reinterpret_cast<const wchar_t*>(text.data());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, source, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  if (length <= 0) return "<conversion failed>";
  std::string out(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, source, static_cast<int>(text.size()), &out[0], length, nullptr, nullptr);
  return out;
}

TEST(TextDecodingAgainstSystem, Utf8DecodesLikeTheSystem) {
  for (const Utf8Case& c : utf8Cases()) {
    const std::string bytes(c.bytes.begin(), c.bytes.end());
    EXPECT_EQ(hexUnits(decodeUtf8(bytes)), hexUnits(systemDecodeUtf8(c.bytes))) << c.name;
  }
}

bool sameAsSystem(const std::vector<unsigned char>& bytes) {
  return decodeUtf8(std::string(bytes.begin(), bytes.end())) == systemDecodeUtf8(bytes);
}

TEST(TextDecodingAgainstSystem, ShortInputsDecodeLikeTheSystem) {
  // Every input of one or two bytes, and inputs of three and four bytes built from bytes that
  // stand for each class a decoder tells apart (ASCII, continuation ranges, each kind of lead,
  // bytes that start nothing): every lead meets every kind of follower at every position.
  const unsigned char classes[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2,
                                   0xDF, 0xE0, 0xE1, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1, 0xF3, 0xF4, 0xF5,
                                   0xF7, 0xF8, 0xFC, 0xFE, 0xFF};
  int mismatches = 0;
  auto check = [&](const std::vector<unsigned char>& bytes) {
    if (mismatches < 10 && !sameAsSystem(bytes)) {
      std::string shown;
      char buffer[4];
      for (unsigned char b : bytes) {
        snprintf(buffer, sizeof buffer, "%02X ", b);
        shown += buffer;
      }
      ADD_FAILURE() << "bytes " << shown;
      ++mismatches;
    }
  };
  for (int a = 0; a < 256; ++a) {
    check({static_cast<unsigned char>(a)});
    for (int b = 0; b < 256; ++b) check({static_cast<unsigned char>(a), static_cast<unsigned char>(b)});
  }
  for (unsigned char a : classes)
    for (unsigned char b : classes)
      for (unsigned char c : classes) {
        check({a, b, c});
        for (unsigned char d : classes) check({a, b, c, d});
      }
}

TEST(TextDecodingAgainstSystem, Utf8EncodesLikeTheSystem) {
  const std::u16string texts[] = {
      u"plain", u"caf\u00E9 \u20AC", u"\U0001F600", std::u16string(1, char16_t(0xD800)) + u"x",
      u"x" + std::u16string(1, char16_t(0xDC00)), std::u16string{char16_t(0xDC00), char16_t(0xD800)},
  };
  for (const std::u16string& text : texts) EXPECT_EQ(encodeUtf8(text), systemEncodeUtf8(text));
}

}  // namespace
}  // namespace averlune

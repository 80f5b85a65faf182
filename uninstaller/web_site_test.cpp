#include "uninstaller/web_site.h"

#include <gtest/gtest.h>

#include "config/text_decoding.h"

namespace averlune {
namespace {

TEST(WebSite, OnlyWebAddressesAreOpened) {
  const struct {
    std::u16string text;
    bool opened;
  } rows[] = {
      {u"http://example.org/", true},
      {u"https://example.org/tool?x=1&y=%20", true},
      {u"HTTPS://EXAMPLE.ORG", true},
      {u"", false},
      {u"http://", false},
      {u"www.example.org", false},
      {u"C:\\Windows\\System32\\cmd.exe", false},
      {u"cmd.exe /c calc", false},
      {u"file:///C:/Windows/System32/calc.exe", false},
      {u"javascript:alert(1)", false},
      {u" https://example.org/", false},
      {u"https://example.org/ calc", false},
      {u"https://example.org/\"x", false},
      {u"https://example.org/\tx", false},
  };
  for (const auto& row : rows) EXPECT_EQ(isWebAddress(row.text), row.opened) << encodeUtf8(row.text);
}

}  // namespace
}  // namespace averlune

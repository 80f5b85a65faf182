#include "guards/web_address.h"

#include <gtest/gtest.h>

#include "base/text_decoding.h"

namespace averlune {
namespace {

TEST(WebAddress, OnlyWebAddressesAreOpenedFromALog) {
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
      {u"mailto:someone@example.org", false},
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

TEST(WebAddress, ALicenceLinkOpensAsAWebOrMailAddressOrNotAtAll) {
  const struct {
    std::u16string link;
    std::u16string opened;
  } rows[] = {
      {u"http://example.org/", u"http://example.org/"},
      {u"HTTPS://example.org/a?b=c", u"HTTPS://example.org/a?b=c"},
      {u"mailto:help@example.org", u"mailto:help@example.org"},
      {u"MailTo:help@example.org", u"MailTo:help@example.org"},
      // Named like a program beside the setup (".com" runs): only ever a web address.
      {u"www.example.com", u"http://www.example.com"},
      {u"WWW.example.org/x", u"http://WWW.example.org/x"},
      {u"www.", u""},
      {u"mailto:", u""},
      {u"example.com", u""},
      {u"ftp://example.org/", u""},
      {u"file://C:/Windows/System32/calc.exe", u""},
      {u"C:\\Windows\\System32\\calc.exe", u""},
      {u"calc.exe", u""},
      {u"www.example.com calc", u""},
      {u"mailto:a@example.org\"x", u""},
  };
  for (const auto& row : rows) EXPECT_EQ(licenceLinkAddress(row.link), row.opened) << encodeUtf8(row.link);
}

}  // namespace
}  // namespace averlune

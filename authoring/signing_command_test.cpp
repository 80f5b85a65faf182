#include "authoring/signing_command.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

using Words = std::vector<std::string>;

TEST(SigningCommand, SplitsIntoWordsAsTheManualSays) {
  const struct {
    const char* command;
    Words words;
  } rows[] = {
      {"signtool sign /a {}", {"signtool", "sign", "/a", "{}"}},
      {"  tool \t {}  ", {"tool", "{}"}},
      {R"("C:\Program Files\Kits\signtool.exe" sign /fd sha256 {})",
       {R"(C:\Program Files\Kits\signtool.exe)", "sign", "/fd", "sha256", "{}"}},
      {"sh -c 'osslsigncode sign -in \"$1\" -out \"$1.s\"' sign {}",
       {"sh", "-c", "osslsigncode sign -in \"$1\" -out \"$1.s\"", "sign", "{}"}},
      {R"(tool --in={} --name="My Company's Key")", {"tool", "--in={}", "--name=My Company's Key"}},
      {"tool '' {}", {"tool", "", "{}"}},
      {"tool a\"b c\"d {}", {"tool", "ab cd", "{}"}},
  };
  for (const auto& row : rows) {
    Words words;
    EXPECT_EQ(splitSigningCommand(row.command, words), "") << row.command;
    EXPECT_EQ(words, row.words) << row.command;
  }
}

TEST(SigningCommand, RefusesCommandsThatCannotSignAFile) {
  const struct {
    const char* command;
    const char* reason;
  } rows[] = {
      {"", "the signing command names no program"},
      {"   ", "the signing command names no program"},
      {"'' {}", "the signing command names no program"},
      {"signtool sign /a", "the signing command has no {} where the path of the file to sign goes"},
      {"tool 'unclosed {}", "the signing command has an unclosed '"},
      {"tool \"unclosed {}", "the signing command has an unclosed \""},
  };
  for (const auto& row : rows) {
    Words words = {"kept"};
    EXPECT_EQ(splitSigningCommand(row.command, words), row.reason) << row.command;
    EXPECT_EQ(words, Words{"kept"}) << row.command;
  }
}

// A file's path is one argument whatever it holds, and is never read again for "{}" or quotes.
TEST(SigningCommand, PutsThePathWholeIntoEveryPlaceholder) {
  Words words;
  ASSERT_EQ(splitSigningCommand("tool --in={} --out '{}.signed' {}", words), "");
  for (const std::string path : {"/tmp/My Setup.exe", "/tmp/a'; rm -rf ~; '.exe", "/tmp/$(reboot)`id`.exe",
                                 "/tmp/{}{}.exe", "/tmp/\"quoted\" name.exe"}) {
    EXPECT_EQ(signingCommandFor(words, path), (Words{"tool", "--in=" + path, "--out", path + ".signed", path}))
        << path;
  }
}

}  // namespace
}  // namespace averlune

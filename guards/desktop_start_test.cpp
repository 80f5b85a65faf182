#include "guards/desktop_start.h"

#include <gtest/gtest.h>

#include "base/text_decoding.h"

namespace averlune {
namespace {

using Way = DesktopStartWay;

TEST(DesktopStart, TheDesktopsShellFirstAndAnAddressNeverAsAProgram) {
  const DesktopStart program{DesktopStartKind::program, u"C:\\Apps\\tool.exe", u"", u"C:\\Apps\\"};
  const DesktopStart address{DesktopStartKind::address, u"https://example.com/", u"", u""};
  EXPECT_EQ(desktopStartWays(program), (std::vector<Way>{Way::desktopShell, Way::ownProcess, Way::ownShell}));
  EXPECT_EQ(desktopStartWays(address), (std::vector<Way>{Way::desktopShell, Way::ownShell}));
  EXPECT_TRUE(desktopStartWays(DesktopStart{DesktopStartKind::program, u"", u"/x", u"C:\\"}).empty());
  EXPECT_TRUE(desktopStartWays(DesktopStart{}).empty());
}

TEST(DesktopStart, CommandLinesAndTheAdministratorsLogLines) {
  const DesktopStart bare{DesktopStartKind::program, u"C:\\My Apps\\tool.exe", u"", u"C:\\My Apps\\"};
  const DesktopStart withArguments{DesktopStartKind::program, u"C:\\My Apps\\tool.exe", u"/first \"a b\"",
                                   u"C:\\My Apps\\"};
  EXPECT_EQ(desktopStartCommandLine(bare), u"\"C:\\My Apps\\tool.exe\"");
  EXPECT_EQ(desktopStartCommandLine(withArguments), u"\"C:\\My Apps\\tool.exe\" /first \"a b\"");

  const struct {
    Way way;
    std::u16string line;
  } lines[] = {
      {Way::desktopShell, u"started through the desktop's shell, as its user: C:\\My Apps\\tool.exe /first \"a b\""},
      {Way::ownProcess, u"started as administrator, no desktop shell: C:\\My Apps\\tool.exe /first \"a b\""},
      {Way::ownShell, u"opened as administrator, no desktop shell: C:\\My Apps\\tool.exe /first \"a b\""},
      {Way::none, u"not started: C:\\My Apps\\tool.exe /first \"a b\""},
  };
  for (const auto& row : lines) EXPECT_EQ(desktopStartLogLine(withArguments, row.way), row.line);
}

TEST(DesktopStart, ProgramRunStartsOnlyByAFullPath) {
  const struct {
    std::u16string text;
    std::u16string file, arguments, folder;  // file empty: refused
  } rows[] = {
      {u"C:\\Apps\\Tool\\tool.exe", u"C:\\Apps\\Tool\\tool.exe", u"", u"C:\\Apps\\Tool\\"},
      {u"c:/Apps/tool.exe", u"c:/Apps/tool.exe", u"", u"c:/Apps/"},
      {u"\\\\server\\share\\tool.exe", u"\\\\server\\share\\tool.exe", u"", u"\\\\server\\share\\"},
      // The sample's "<installpath>\": the folder itself, which the shell opens.
      {u"C:\\Apps\\Tool\\", u"C:\\Apps\\Tool\\", u"", u"C:\\Apps\\Tool\\"},
      // The author's quotes and arguments; an unclosed quote runs to the end.
      {u"\"C:\\Apps\\tool.exe\"  /first C:\\x\\y", u"C:\\Apps\\tool.exe", u"/first C:\\x\\y", u"C:\\Apps\\"},
      {u"\"C:\\Apps\\tool.exe", u"C:\\Apps\\tool.exe", u"", u"C:\\Apps\\"},
      // Searched for, or resolved against a current folder: never started.
      {u"tool.exe", u"", u"", u""},
      {u"bin\\tool.exe", u"", u"", u""},
      {u"\\Apps\\tool.exe", u"", u"", u""},
      {u"C:tool.exe", u"", u"", u""},
      {u"\\\\", u"", u"", u""},
      {u"\"tool.exe\" /x", u"", u"", u""},
      // "<programfiles>" of a system without the variable expands to nothing.
      {u"\\Tool\\tool.exe", u"", u"", u""},
      {u"", u"", u"", u""},
      {u"\"\" /x", u"", u"", u""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(encodeUtf8(row.text));
    const DesktopStart start = programStartOf(row.text);
    EXPECT_EQ(start.kind, DesktopStartKind::program);
    EXPECT_EQ(start.file, row.file);
    EXPECT_EQ(start.arguments, row.arguments);
    EXPECT_EQ(start.folder, row.folder);
    EXPECT_EQ(isFullPath(row.text), !row.file.empty() && row.text.front() != u'"');
  }
}

}  // namespace
}  // namespace averlune

#include "base/log_file_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/file_bytes.h"
#include "base/temp_folder_test_support.h"
#include "base/wide_text_win.h"

namespace averlune {
namespace {

std::string bytesOf(const std::u16string& path) {
  std::string bytes;
  return readFileBytes(path, bytes) ? bytes : "<missing>";
}

TEST(LogFileWin, LinesAreAppendedButNeverThroughALinkAtTheName) {
  TempFolder temp;
  const std::u16string log = temp.folder() + u"setup.log";
  appendLogLine(log, u"setup started");
  appendLogLine(log, u"gr\u00FC\u00DFe");
  EXPECT_EQ(bytesOf(log), "setup started\r\ngr\xC3\xBC\xC3\x9F" "e\r\n");

  // A hard link planted where the administrator's log is to be written: the file's other name
  // keeps its bytes. (A symbolic link is refused by its attributes on Windows; Wine shows a host's
  // link to a file as the file itself, so it cannot be planted here.)
  const std::u16string precious = temp.write(u"precious.txt", "precious");
  const std::u16string hardLink = temp.folder() + u"hard.log";
  ASSERT_TRUE(CreateHardLinkW(wide(hardLink), wide(precious), nullptr));
  appendLogLine(hardLink, u"setup started");
  EXPECT_EQ(bytesOf(precious), "precious");
  EXPECT_EQ(bytesOf(hardLink), "precious");
}

}  // namespace
}  // namespace averlune

#include "base/file_bytes.h"

#include <gtest/gtest.h>

#include "base/temp_folder_test_support.h"

namespace averlune {
namespace {

TEST(ReadFileBytes, GivesEveryByteUnchangedAndNothingForWhatIsNoReadableFile) {
  TempFolder temp;
  std::string bytes = "stale";

  // Binary content, line ends and a size past one read buffer come back exactly; so does a name
  // outside ASCII.
  std::string content("a\r\nb\0c\x1A\xFF", 8);
  content += std::string(200000, 'z');
  ASSERT_TRUE(readFileBytes(temp.write(u"Gr\u00FC\u00DFe \u0416.dat", content), bytes));
  EXPECT_EQ(bytes, content);
  ASSERT_TRUE(readFileBytes(temp.write(u"empty.dat", ""), bytes));
  EXPECT_EQ(bytes, "");

  bytes = "stale";
  EXPECT_FALSE(readFileBytes(temp.folder() + u"missing.dat", bytes));
  EXPECT_EQ(bytes, "");
  std::filesystem::create_directory(temp.path / "folder.dat");
  bytes = "stale";
  EXPECT_FALSE(readFileBytes(temp.folder() + u"folder.dat", bytes));
  EXPECT_EQ(bytes, "");

  // A file past the bound is as unreadable as a missing one; one at the bound is read.
  const std::u16string big = temp.write(u"big.dat", content);
  EXPECT_FALSE(readFileBytes(big, bytes, content.size() - 1));
  EXPECT_EQ(bytes, "");
  EXPECT_TRUE(readFileBytes(big, bytes, content.size()));
  EXPECT_EQ(bytes, content);
}

}  // namespace
}  // namespace averlune

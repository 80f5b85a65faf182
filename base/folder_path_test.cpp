#include "base/folder_path.h"

#include <gtest/gtest.h>

#include "base/text_decoding.h"

namespace averlune {
namespace {

TEST(FolderPath, PrefixesEndAtEachBackslash) {
  using List = std::vector<std::u16string>;
  EXPECT_EQ(folderPathPrefixes(u"C:\\Apps\\Tool\\"), (List{u"C:\\", u"C:\\Apps\\", u"C:\\Apps\\Tool\\"}));
  EXPECT_EQ(folderPathPrefixes(u"C:\\Apps\\Tool"), (List{u"C:\\", u"C:\\Apps\\"}));
  EXPECT_EQ(folderPathPrefixes(u"Tool"), List{});
  EXPECT_EQ(folderPathPrefixes(u"\\\\srv\\share\\x\\"),
            (List{u"\\", u"\\\\", u"\\\\srv\\", u"\\\\srv\\share\\", u"\\\\srv\\share\\x\\"}));
}

TEST(FolderPath, PartsBelowTheRootAreOnlyPlainNames) {
  using List = std::vector<std::u16string>;
  const auto parts = folderPartsFromRoot(u"c:/Apps/Tool\\");
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->root, u"c:\\");
  EXPECT_EQ(parts->parts, (List{u"Apps", u"Tool"}));
  EXPECT_EQ(folderPartsFromRoot(u"\\\\server\\share\\Tool")->parts, List{u"Tool"});
  // A part Windows would read as the folder it stands in, or as its parent, is no name of its own.
  for (const char16_t* refused : {u"C:\\", u"Tool\\", u"C:\\A\\..\\B\\", u"C:\\A\\\"\\", u"C:\\A\\. \\B", u"C:\\A\\\\B", u""}) {
    EXPECT_FALSE(folderPartsFromRoot(refused)) << encodeUtf8(refused);
  }
}

}  // namespace
}  // namespace averlune

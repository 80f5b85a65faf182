#include "config/folder_path.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace averlune

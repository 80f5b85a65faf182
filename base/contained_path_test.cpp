#include "base/contained_path.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

TEST(ContainedRelativePath, AcceptsPlainNamesAndSubfolders) {
  for (const char16_t* name : {u"SC.dat", u"lang\\German.avl", u"bin/tool.exe", u"a\\.\\b", u"..name",
                               u"name..", u"docs\\", u"v1.2..3\\x"}) {
    EXPECT_TRUE(isContainedRelativePath(name)) << std::u16string(name).size();
  }
}

TEST(ContainedRelativePath, RefusesNamesThatLeaveTheFolder) {
  for (const char16_t* name :
       {u"", u"\\evil.txt", u"/evil.txt", u"C:\\Windows\\evil.dll", u"C:evil.txt", u"..\\evil.txt",
        u"../evil.txt", u"a\\..\\..\\evil.txt", u"a/..", u"..", u"...\\x", u".. \\x", u"a\\. .\\x",
        u"\\\\server\\share\\x", u"file.txt:stream", u"a\\b\\..", u"a\\../b"}) {
    EXPECT_FALSE(isContainedRelativePath(name)) << std::u16string(name).size();
  }
}

}  // namespace
}  // namespace averlune

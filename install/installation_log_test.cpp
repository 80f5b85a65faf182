#include "install/installation_log.h"

#include <gtest/gtest.h>

#include <vector>

namespace averlune {
namespace {

TEST(InstallationLog, EachCallWritesItsLineFirstAndAnswersPassThrough) {
  std::vector<std::u16string> events;
  InstallationSystem system;
  system.setStatus = [&](const std::u16string&) { events.push_back(u"(status shown)"); };
  system.createShortcut = [&](const ShortcutLink&) { events.push_back(u"(link made)"); };
  system.writeRegistryEntry = [&](const RegistryListEntry&) { events.push_back(u"(value written)"); };
  system.makeFolderPath = [&](const std::u16string&) { return false; };
  system.askAfterFailedExtraction = [&](const std::u16string&, const std::u16string&) {
    events.push_back(u"(asked)");
    return ExtractionChoice::ignore;
  };
  system.showFinishPage = [&] { events.push_back(u"(finish page)"); };
  logInstallation(system, [&](const std::u16string& line) { events.push_back(line); });

  system.setStatus(u"Installing..\nC:\\Tool\\a.txt");
  EXPECT_FALSE(system.makeFolderPath(u"C:\\Tool\\"));
  system.createShortcut({u"C:\\Tool\\tool.exe", u"C:\\Links\\Tool.lnk", u"C:\\Tool\\", u"-x"});
  RegistryListEntry value;
  value.rootName = u"HKLM";
  value.subKey = u"Software\\Tool\\";
  value.valueName = u"Path";
  value.data = u"C:\\Tool";
  system.writeRegistryEntry(value);
  EXPECT_EQ(system.askAfterFailedExtraction(u"Error", u"Could not extract file!\nb.txt"), ExtractionChoice::ignore);
  system.showFinishPage();

  const std::vector<std::u16string> expected = {
      u"status: Installing.. C:\\Tool\\a.txt", u"(status shown)",
      u"folder: C:\\Tool\\",
      u"link: C:\\Links\\Tool.lnk -> C:\\Tool\\tool.exe -x", u"(link made)",
      u"registry value: HKLM\\Software\\Tool\\Path = C:\\Tool", u"(value written)",
      u"failure: Could not extract file! b.txt", u"(asked)", u"answer: Ignore",
      u"installation finished", u"(finish page)"};
  EXPECT_EQ(events, expected);
}

}  // namespace
}  // namespace averlune

// The sample setup's data: the text conventions its readers depend on, the completeness of its
// language file, and that its staged folders pass the authoring check and build into a setup.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "authoring/authoring_test_support.h"
#include "authoring/setup_builder.h"
#include "authoring/setup_check.h"

namespace averlune {
namespace {

using namespace averlune::testing;

const fs::path kSample = fs::path(__FILE__).parent_path().parent_path() / "sample";

std::string text(const fs::path& path) {
  const auto bytes = readFile(path);
  return std::string(bytes.begin(), bytes.end());
}

TEST(SampleSetup, TextFilesUseWindowsLineEndsAndTheirReadersEncoding) {
  if (!fs::is_directory(kSample)) GTEST_SKIP() << "the sample folder is not beside the sources";
  struct FileRule {
    const char* name;
    bool keyValue;  // key-value files may carry the UTF-8 byte-order mark; line lists must not
  };
  const std::vector<FileRule> rules = {
      {"config/SC.dat", true},          {"config/OS.dat", true},         {"config/Default.avl", true},
      {"config/Startmenu.dat", false},  {"config/Desktop.dat", false},   {"config/Variables.dat", false},
  };
  for (const FileRule& rule : rules) {
    SCOPED_TRACE(rule.name);
    std::string content = text(kSample / rule.name);
    if (content.rfind("\xEF\xBB\xBF", 0) == 0) {
      EXPECT_TRUE(rule.keyValue) << "a line list would read the byte-order mark as a character";
      content.erase(0, 3);
    }
    for (std::size_t i = 0; i < content.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(content[i]);
      if (c == '\n') {
        EXPECT_TRUE(i > 0 && content[i - 1] == '\r') << "lone LF at byte " << i;
      }
      if (c == '\r') {
        EXPECT_TRUE(i + 1 < content.size() && content[i + 1] == '\n') << "lone CR at byte " << i;
      }
      EXPECT_LT(c, 0x80) << "non-ASCII byte at " << i << ": the encoding would depend on a byte-order mark";
    }
    if (!content.empty()) {
      EXPECT_EQ(content.substr(content.size() - 2), "\r\n");
    }
  }
  EXPECT_EQ(text(kSample / "config/Startmenu.dat"), "<installpath>\\SampleNotes.exe\r\nAverlune Sample Notes\r\n\r\n");
}

TEST(SampleSetup, LanguageFileHasEveryTextOfTheWizardAndTheUninstaller) {
  if (!fs::is_directory(kSample)) GTEST_SKIP() << "the sample folder is not beside the sources";
  std::map<std::string, std::map<std::string, std::string>> sections;
  std::string section;
  std::string content = text(kSample / "config/Default.avl");
  std::size_t at = 0;
  while (at < content.size()) {
    const std::size_t end = content.find("\r\n", at);
    const std::string line = content.substr(at, end - at);
    at = end == std::string::npos ? content.size() : end + 2;
    if (line.empty() || line[0] == ';' || line.rfind("//", 0) == 0) continue;
    if (line[0] == '[') {
      section = line.substr(1, line.find(']') - 1);
      continue;
    }
    const std::size_t equals = line.find(" = ");
    ASSERT_NE(equals, std::string::npos) << line;
    EXPECT_EQ(sections[section].count(line.substr(0, equals)), 0u) << "duplicate " << line;
    sections[section][line.substr(0, equals)] = line.substr(equals + 3);
  }
  const std::map<std::string, std::set<std::string>> wanted = {
      {"Main", {"Title"}},
      {"Gadgets",
       {"NextBtn", "CancelBtn", "BackBtn", "FinishBtn", "BrowseBtn", "AcceptOptn", "DoNotAcceptOptn",
        "CreateDesktopIconCbx", "CreateStartMenuFolderCbx", "LaunchProgramCbx", "RebootCbx", "DestinationFolderFR3",
        "SelAppFolder", "SelStartMenuFolder"}},
      {"Messages", {"ExitSetupH", "ExitSetup", "CouldNotExtractFileH", "CouldNotExtractFile", "RefusedFolder"}},
      {"Start", {"Title", "Text"}},
      {"LicenceAgreement", {"HeadT", "HeadB", "Text1"}},
      {"ApplicationFolder", {"HeadT", "HeadB", "Text1", "Text2", "Text3", "Text4"}},
      {"StartMenuFolder", {"HeadT", "HeadB", "Text1", "Text2"}},
      {"AdditionalTasks", {"HeadT", "HeadB", "Text1", "Text2"}},
      {"Installing", {"HeadT", "HeadB", "Text1", "Text2", "Text3"}},
      {"Finish", {"Title", "Text1"}},
      {"Uninstall",
       {"BM_T", "BM", "Header", "Header_b", "Uninstalling", "Btn_cancel", "ExitUninstall_T", "ExitUninstall",
        "Success_T", "Success"}},
  };
  EXPECT_EQ(sections.size(), wanted.size());
  for (const auto& [name, keys] : wanted) {
    for (const std::string& key : keys) {
      EXPECT_FALSE(sections[name][key].empty()) << name << " / " << key;
    }
    EXPECT_EQ(sections[name].size(), keys.size()) << name << " holds a key that no reader asks for";
  }
}

TEST(SampleSetup, StagedFoldersBuildIntoASetup) {
  if (!fs::is_directory(kSample) || !hostToolPresent("bash") || !hostToolPresent("python3")) {
    GTEST_SKIP() << "needs the sample folder, bash and python3";
  }
  TempFolder temp;
  writeFile(temp.path / "SampleNotes.exe", bareProgram());
  const ToolRun stage = runTool("bash " + quoted(kSample / "stage.sh") + " " + quoted(temp.path / "staged") + " " +
                                    quoted(temp.path / "SampleNotes.exe"),
                                temp.path);
  ASSERT_EQ(stage.exitCode, 0) << stage.output;

  std::set<std::string> appFiles;
  for (const auto& entry : fs::directory_iterator(temp.path / "staged" / "app")) appFiles.insert(entry.path().filename().string());
  EXPECT_EQ(appFiles, (std::set<std::string>{"SampleNotes.exe", "Welcome.txt", "Readme.txt", "Changes.txt",
                                             "Licence.txt", "Settings.ini"}));

  // The splash picture: a 517 x 707, 24-bit, bottom-up bitmap of exactly the size its header states.
  const auto splash = readFile(temp.path / "staged" / "config" / "isps.dat");
  ASSERT_GE(splash.size(), 54u);
  EXPECT_EQ(splash[0], 'B');
  EXPECT_EQ(splash[1], 'M');
  EXPECT_EQ(readLittleEndian32(&splash[2]), splash.size());
  EXPECT_EQ(readLittleEndian32(&splash[18]), 517u);
  EXPECT_EQ(readLittleEndian32(&splash[22]), 707u);
  EXPECT_EQ(splash[28], 24);
  EXPECT_EQ(splash.size(), 54u + 1552u * 707u);  // rows padded to four bytes

  for (const CheckProblem& problem : checkSetup(temp.path / "staged" / "config", temp.path / "staged" / "app")) {
    ADD_FAILURE() << "the authoring check finds in the sample: " << problemLine(problem);
  }

  BuildRequest request;
  request.setupProgram = temp.path / "AverluneSetup.exe";
  writeFile(request.setupProgram, bareProgram());
  request.configFolder = temp.path / "staged" / "config";
  request.appFolder = temp.path / "staged" / "app";
  request.output = temp.path / "SampleSetup.exe";
  EXPECT_EQ(buildSetup(request), "");
}

}  // namespace
}  // namespace averlune

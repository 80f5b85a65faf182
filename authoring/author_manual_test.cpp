// The author's manual against the programs: its key tables name exactly the keys the setup's
// readers ask for, the check's messages point to sections it has, its worked example is the
// sample's own script, and what it gives administrators to paste names the programs' exit codes.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "authoring/authoring_test_support.h"
#include "authoring/manual_sections.h"
#include "authoring/manual_test_support.h"
#include "config/exit_codes.h"
#include "config/setup_script.h"
#include "config/language_file.h"

namespace averlune {
namespace {

using namespace averlune::testing;

TEST(AuthorManual, KeyTablesNameExactlyTheKeysTheSetupReads) {
  const std::vector<std::string> manual = manualLines();
  if (manual.empty()) GTEST_SKIP() << "the manual is not beside the sources";

  const auto script = readerKeys([](KeyValueFile& file) {
    SetupOptions options;
    readSetupOptions(options, file, SystemLookup{});
  });
  ASSERT_EQ(script.size(), 1u);
  EXPECT_EQ(manualKeys(manual, "SC.dat", "Setup"), script.at("Setup"));
  EXPECT_EQ(manualGroups(manual, "SC.dat"), std::set<std::string>{"Setup"});

  // The uninstaller reads [Uninstall] of the same file; its own test holds that table to it.
  const auto language = readerKeys([](KeyValueFile& file) { readLanguageTexts(file, u""); });
  std::set<std::string> groups = {"Uninstall"};
  for (const auto& [group, keys] : language) {
    groups.insert(group);
    EXPECT_EQ(manualKeys(manual, "Default.avl", group), keys) << "[" << group << "]";
  }
  EXPECT_EQ(manualGroups(manual, "Default.avl"), groups);
}

TEST(AuthorManual, TheChecksSectionsExistAndTheWorkedExampleIsTheSamplesScript) {
  const std::vector<std::string> manual = manualLines();
  if (manual.empty()) GTEST_SKIP() << "the manual is not beside the sources";
  const std::set<std::string> headings = manualHeadings(manual);
  for (const char* section : {manual::kConfigurationFolder, manual::kSetupScript, manual::kWindowsVersions,
                              manual::kLanguageFiles, manual::kSeveralLanguages, manual::kShortcuts,
                              manual::kRegistryValues, manual::kPictures, manual::kFinishPlugin,
                              manual::kApplicationFolder}) {
    EXPECT_EQ(headings.count(section), 1u) << section;
  }
  const auto bytes = readFile(repositoryFolder() / "sample" / "config" / "SC.dat");
  std::string sample;
  for (char c : bytes) {
    if (c != '\r') sample += c;
  }
  EXPECT_EQ(manualQuote(manual, "sample/config/SC.dat"), sample);
}

// The winget manifest must tell every code that is neither success nor plain failure, with its
// meaning, or winget reports a restart, a cancel or a busy machine as a failed installation.
TEST(AuthorManual, TheWingetManifestTellsEveryCodeBesidesSuccessAndFailure) {
  const std::vector<std::string> manual = manualLines();
  if (manual.empty()) GTEST_SKIP() << "the manual is not beside the sources";
  const std::string manifest = manualSnippet(manual, "winget");
  ASSERT_FALSE(manifest.empty());
  std::map<unsigned, std::string> listed;
  const std::string codeKey = "InstallerReturnCode: ";
  const std::string responseKey = "ReturnResponse: ";
  for (std::size_t at = manifest.find(codeKey); at != std::string::npos; at = manifest.find(codeKey, at + 1)) {
    const unsigned code = static_cast<unsigned>(std::stoul(manifest.substr(at + codeKey.size())));
    const std::size_t response = manifest.find(responseKey, at) + responseKey.size();
    listed[code] = manifest.substr(response, manifest.find('\n', response) - response);
  }
  const std::map<unsigned, std::string> expected = {
      {static_cast<unsigned>(ExitCode::restartNeeded), "rebootRequiredToFinish"},
      {static_cast<unsigned>(ExitCode::cancelled), "cancelledByUser"},
      {static_cast<unsigned>(ExitCode::anotherSetupRunning), "installInProgress"},
  };
  EXPECT_EQ(listed, expected);
  EXPECT_NE(manifest.find("Silent: /S\n"), std::string::npos);
}

}  // namespace
}  // namespace averlune

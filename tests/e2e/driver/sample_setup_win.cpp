#include "tests/e2e/driver/sample_setup_win.h"

#include <filesystem>
#include <iostream>

#include "authoring/setup_builder.h"
#include "tests/e2e/driver/install_case_win.h"
#include "tests/e2e/driver/installed_state_win.h"
#include "tests/e2e/driver/setup_fixture_win.h"

namespace averlune::e2e {

namespace fs = std::filesystem;

std::wstring sampleProgram() { return buildFolder() + L"\\sample\\SampleNotes.exe"; }

std::wstring buildSampleSetup(const std::wstring& testName) {
  const fs::path folder = scratchFolder(testName);
  const fs::path config = folder / L"config";
  const fs::path app = folder / L"app";
  fs::create_directories(config);
  fs::create_directories(app);
  const fs::path sample = fs::path(repositoryFolder()) / L"sample";
  for (const auto& entry : fs::directory_iterator(sample / L"config")) fs::copy_file(entry.path(), config / entry.path().filename());
  for (const auto& entry : fs::directory_iterator(sample / L"app")) fs::copy_file(entry.path(), app / entry.path().filename());
  std::error_code error;
  fs::copy_file(sampleProgram(), app / L"SampleNotes.exe", error);
  if (error) {
    std::cerr << "the sample program is not built: " << fs::path(sampleProgram()).string() << "\n";
    return L"";
  }
  for (const SampleFile& file : kSampleFiles) {
    if (!setLastWriteLocal((app / file.name).wstring(), file.stamp)) {
      std::cerr << "cannot stamp " << fs::path(file.name).string() << "\n";
      return L"";
    }
  }
  const fs::path output = folder / L"AverluneSampleSetup.exe";
  const std::string failure = buildSetup({bareSetupProgram(), config, app, output});
  if (!failure.empty()) {
    std::cerr << "cannot build the sample setup: " << failure << "\n";
    return L"";
  }
  return output.wstring();
}

}  // namespace averlune::e2e

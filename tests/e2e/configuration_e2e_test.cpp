// The setup script and author variables as a run sees them: the default application folder that
// the first window offers is expanded from SC.dat and Variables.dat, with variables read from
// registry values of every type.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/e2e/driver/process_win.h"
#include "tests/e2e/driver/setup_fixture_win.h"
#include "tests/e2e/driver/window_driver_win.h"

namespace averlune::e2e {
namespace {

constexpr int kStartMs = 30000;
constexpr int kExitMs = 15000;
const wchar_t kKey[] = L"Software\\AverluneE2EVariables";

// Registry values the variables read, created for the test and removed after it.
class RegistryValues {
 public:
  RegistryValues() {
    RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key_, nullptr);
    setText(L"Sz", REG_SZ, L"Alpha");
    setText(L"Expand", REG_EXPAND_SZ, L"%TEMP%x");
    setText(L"Late", REG_SZ, L"Late<sz>");
    const DWORD allBits = 0xFFFFFFFFu;
    RegSetValueExW(key_, L"Dword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&allBits), sizeof allBits);
    const BYTE bytes[] = {0x01, 0xAB};
    RegSetValueExW(key_, L"Binary", 0, REG_BINARY, bytes, sizeof bytes);
    const wchar_t multi[] = L"a\0b\0";
    RegSetValueExW(key_, L"Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof multi);
  }
  ~RegistryValues() {
    RegCloseKey(key_);
    RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
  }

 private:
  void setText(const wchar_t* name, DWORD type, const std::wstring& text) {
    RegSetValueExW(key_, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  HKEY key_ = nullptr;
};

std::string variableRecord(const std::string& token, const std::string& valueName, const std::string& fallback) {
  return token + "\r\nHKEY_CURRENT_USER\r\nSoftware\\AverluneE2EVariables\r\n" + valueName + "\r\n" + fallback + "\r\n";
}

TEST(Configuration, TheFirstWindowOffersTheDefaultFolderExpandedFromScriptAndVariables) {
  RegistryValues values;
  auto config = minimalConfig();
  config[0].bytes =
      "[Setup]\r\nAppname = Vars App\r\nLanguages = 1\r\nChangeApplicationFolder = 1\r\n"
      "InstallDir = <programfiles>\\<AppName>\\<sz>-<expand>-<dword>-<binary>-<missing>-<late>-<multi>\\\r\n";
  config[2].bytes = variableRecord("<sz>", "Sz", "unused") + variableRecord("<expand>", "Expand", "") +
                    variableRecord("<dword>", "Dword", "") + variableRecord("<binary>", "Binary", "") +
                    variableRecord("<missing>", "NoSuchValue", "Fallback<Windows>") +
                    variableRecord("<late>", "Late", "") + variableRecord("<multi>", "Multi", "");
  const std::wstring setup = buildSetupWithConfig(L"variables", config);
  ASSERT_FALSE(setup.empty());

  wchar_t programFiles[MAX_PATH];
  ASSERT_GT(GetEnvironmentVariableW(L"ProgramFiles", programFiles, MAX_PATH), 0u);
  wchar_t windows[MAX_PATH];
  ASSERT_GT(GetEnvironmentVariableW(L"WINDIR", windows, MAX_PATH), 0u);
  // <late>'s registry value brings in <sz>, which comes earlier in the list: only the start-up's
  // extra pass over the default folders replaces it.
  const std::wstring expected = std::wstring(programFiles) + L"\\Vars App\\Alpha-%TEMP%x--1-01 AB -Fallback" +
                                windows + L"-LateAlpha-a\r\nb\r\n\\";

  TestProcess process(setup);
  const HWND window = waitForAnyWindow(process.id(), kStartMs);
  ASSERT_NE(window, nullptr);
  bool found = false;
  std::wstring edits;
  for (const ControlInfo& control : controlsOf(window)) {
    if (control.className != L"Edit") continue;
    edits += L"[" + control.text + L"] ";
    found = found || control.text == expected;
  }
  EXPECT_TRUE(found) << "expected [" << std::string(expected.begin(), expected.end()) << "] among "
                     << std::string(edits.begin(), edits.end());
  closeWindow(window);
  if (const auto box = waitForMessageBox(process.id(), 3000)) pressMessageBoxButton(*box, L"OK");
  EXPECT_TRUE(process.waitForExit(kExitMs));
}

}  // namespace
}  // namespace averlune::e2e

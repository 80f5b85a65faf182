#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "guards/dacl_test_support_win.h"
#include "base/own_file_win.h"
#include "base/owned_handle_win.h"
#include "base/registry_win.h"
#include "guards/sha256_win.h"
#include "config/uninstall_log.h"
#include "config/uninstaller_image.h"
#include "base/wide_text_win.h"
#include "install/installation_run_win.h"
#include "install/payload_test_support.h"
#include "install/shortcut_link_win.h"

namespace averlune {
namespace {

namespace fs = std::filesystem;

// A target that reads the payload as the setup does: through a handle to state.ownFile held for
// as long as the target lives (which keeps others from replacing the file meanwhile).
struct TargetOnOwnFile {
  OwnedHandle own;
  InstallationTarget target;
  explicit TargetOnOwnFile(const SetupState& state) : own(openOwnFile(state.ownFile)) { target.payloadFile = own.get(); }
};

constexpr char16_t kTestKey[] = u"Software\\AverluneInstallRunTest";
constexpr char16_t kAppName[] = u"AverluneInstallRunTest";

struct LinkProperties {
  std::wstring target, arguments, workingFolder;
};

LinkProperties readLink(const std::u16string& path) {
  LinkProperties properties;
  const ComInitialization com;
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.putVoid())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, file.putVoid())) || FAILED(file->Load(wide(path), STGM_READ))) {
    return properties;
  }
  wchar_t text[MAX_PATH * 2] = {};
  link->GetPath(text, MAX_PATH * 2, nullptr, SLGP_RAWPATH);
  properties.target = text;
  text[0] = 0;
  link->GetArguments(text, MAX_PATH * 2);
  properties.arguments = text;
  text[0] = 0;
  link->GetWorkingDirectory(text, MAX_PATH * 2);
  properties.workingFolder = text;
  return properties;
}

DWORD valueType(HKEY root, const wchar_t* subKey, const wchar_t* name, std::string& data) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, subKey, 0, KEY_READ, &opened) != ERROR_SUCCESS) return 0;
  const OwnedKey key(opened);
  DWORD type = 0;
  BYTE buffer[512];
  DWORD size = sizeof buffer;
  if (RegQueryValueExW(key.get(), name, nullptr, &type, buffer, &size) != ERROR_SUCCESS) return 0;
  data.assign(reinterpret_cast<const char*>(buffer), size);
  return type;
}

void setValue(const wchar_t* name, DWORD type, const void* data, DWORD size) {
  HKEY created = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, wide(kTestKey), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr),
            ERROR_SUCCESS);
  const OwnedKey key(created);
  RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), size);
}

TEST(InstallationRunWin, InstallsFilesLogLinksAndRegistryValues) {
  payloadtest::ScratchFolder scratch;
  const fs::path work = scratch.path / "work";
  const fs::path app = scratch.path / "Program Files" / "Tool";
  fs::create_directories(work);
  fs::create_directories(scratch.path / "Programs");
  fs::create_directories(scratch.path / "Desktop");
  payloadtest::writeArchive(scratch.path / "setup.exe",
                            {{"", "", 0x10, 0x5A2D753D, 0},
                             {"bin/tool.exe", "MZ tool"},
                             {"docs/", "", 0x10},
                             {"docs/a.txt", "a"},
                             {"bad.txt", "not deflated data", 0x20, 0x5A2D753D, Z_DEFLATED, true, 10, 0},
                             {"../evil.txt", "evil"}},
                            std::string(2048, 'M'), "\x01\x02\x03\x04");
  std::ofstream(work / "Default.avl", std::ios::binary) << "[Installing]\r\nText2=Extracting\r\n";
  std::ofstream(work / "Startmenu.dat", std::ios::binary) << "<installpath>\\bin\\tool.exe\r\nTool\r\n/safe --quiet\r\n";
  std::ofstream(work / "Desktop.dat", std::ios::binary) << "\"<installpath>\\bin\\tool.exe\"\r\nTool Desk\r\n\r\n";
  std::string registryList;
  auto record = [&registryList](const std::string& root, const std::string& name, const std::string& data, char flag) {
    registryList += root + "\r\nSoftware/AverluneInstallRunTest\r\n" + name + "\r\n" + data + "\r\n";
    registryList += std::string(1, flag) + std::string(3, '\0');
  };
  record("HKEY_CURRENT_USER", "Path", "<installpath>", 1);
  record("HKEY_CURRENT_USER", "Number", "$10", 0);
  record("HKEY_CURRENT_USER", "Bytes", "0A FF", 0);
  record("HKEY_CURRENT_USER", "Multi", "plain", 0);
  record("HKEY_CURRENT_USER", "Expand", "%TEMP%", 0);
  record("hklm", "Lower", "to current user", 1);
  std::ofstream(work / "Registry.dat", std::ios::binary) << registryList;
  const DWORD seven = 7;
  setValue(L"Number", REG_DWORD, &seven, 4);
  const BYTE bytes[] = {1, 2, 3};
  setValue(L"Bytes", REG_BINARY, bytes, 3);
  setValue(L"Multi", REG_MULTI_SZ, L"a\0b\0", 10);
  setValue(L"Expand", REG_EXPAND_SZ, L"old", 8);

  SetupState state;
  state.ownFile = (scratch.path / "setup.exe").u16string();
  state.workFolder = (work / "").u16string();
  state.languageFile = (work / "Default.avl").u16string();
  state.languageTexts.Installing.Text2 = u"Extracting";
  state.languageTexts.Installing.Text3 = u"Done";
  state.choices.appFolderText = app.u16string();  // no backslash at the end
  state.choices.startMenuFolderText = u"Tools\\App";
  state.choices.desktopIcon = true;
  state.choices.startMenuFolder = true;
  SetupOptions& options = state.options;
  options.Appname = kAppName;
  options.Version = u"2.0";
  options.Company = u"Acme";
  options.Uninstaller = 1;
  options.UninstallerFilename = u"uninstall";
  options.Desktopicon = 1;
  options.StartMenuFolder = 1;
  options.Registry = 1;
  options.startMenuBase = (scratch.path / "Programs" / "").u16string();
  options.desktopBase = (scratch.path / "Desktop" / "").u16string();

  InstallationReports reports;
  std::vector<std::string> events;
  std::vector<int> positions;
  std::vector<std::u16string> statuses;
  int maximum = 0;
  reports.setStatus = [&](const std::u16string& text) { statuses.push_back(text); };
  reports.setProgressMaximum = [&](int value) { maximum = value; };
  reports.setProgress = [&](int position) { positions.push_back(position); };
  reports.showFinishPage = [&] { events.push_back("finish"); };
  reports.endRun = [&](bool) { events.push_back("end"); };
  // The damaged entry is tried again, then passed over like the refused one.
  std::deque<ExtractionChoice> answers{ExtractionChoice::retry, ExtractionChoice::ignore, ExtractionChoice::ignore};
  reports.askAfterFailedExtraction = [&](const std::u16string&, const std::u16string& text) {
    events.push_back("ask " + encodeUtf8(text));
    const ExtractionChoice answer = answers.front();
    answers.pop_front();
    return answer;
  };
  TargetOnOwnFile held(state);
  InstallationTarget& target = held.target;
  target.uninstallerImage = "MZ uninstaller";
  runInstallation(state, installationTexts(state.languageTexts), reports, target);

  const std::u16string appFolder = (app / "").u16string();
  EXPECT_EQ(events, (std::vector<std::string>{"ask \nbad.txt", "ask \nbad.txt", "ask \nevil.txt", "finish"}));
  EXPECT_EQ(positions, (std::vector<int>{1, 2, 3, 4, 5, 6, 6, 7, 8, 0}));
  EXPECT_EQ(maximum, 8);
  EXPECT_EQ(std::count(statuses.begin(), statuses.end(), u"Extracting\n" + (app / "").u16string() + u"bad.txt"), 2);
  wchar_t text[MAX_PATH];
  GetEnvironmentVariableW(L"AV_INSTALLPATH", text, MAX_PATH);
  EXPECT_EQ(fromWide(text), appFolder);
  ASSERT_FALSE(statuses.empty());
  EXPECT_EQ(statuses.back(), u"Done");

  EXPECT_EQ(payloadtest::readBytes(app / "bin" / "tool.exe"), "MZ tool");
  EXPECT_EQ(payloadtest::readBytes(app / "uninstall.exe"), "MZ uninstaller");
  EXPECT_EQ(payloadtest::readBytes(app / "uninstall_l.avl"), payloadtest::readBytes(work / "Default.avl"));
  EXPECT_FALSE(fs::exists(scratch.path / "Program Files" / "evil.txt"));

  // The log as written on disk, built by the format's writers (its bytes are pinned beside them).
  const std::string log =
      uninstallLogHeaderBytes({kAppName, u"2.0", u"", appFolder, 6}) + uninstallFileRecord(appFolder + u"bin\\tool.exe") +
      uninstallFileRecord(appFolder + u"docs\\a.txt") +
      uninstallFileRecord(appFolder + u"bad.txt") +  // what the damaged entry left is the uninstaller's to remove
      uninstallFolderRecord(appFolder + u"docs\\") +
      uninstallKeyRecord(u"HKEY_LOCAL_MACHINE", std::u16string(kUninstallKeyBase) + kAppName) +
      uninstallFileRecord(options.desktopBase + u"Tool Desk.lnk") +
      uninstallFolderRecord(options.startMenuBase + u"Tools\\App\\") +
      uninstallValueRecord(u"HKEY_CURRENT_USER", u"Software\\AverluneInstallRunTest\\", u"Path") +
      uninstallValueRecord(u"hklm", u"Software\\AverluneInstallRunTest\\", u"Lower");
  EXPECT_EQ(payloadtest::readBytes(app / "uninstall.dat"), log);
  const std::u16string uninstallKey = std::u16string(kUninstallKeyBase) + kAppName;
  auto entryValue = [&uninstallKey](const char16_t* name) {
    return readRegistryValueText(RegistryRoot::localMachine, uninstallKey, name).text;
  };
  EXPECT_EQ(entryValue(kLogDigestValueName), sha256Hex(log));
  EXPECT_EQ(entryValue(kLanguageDigestValueName),
            sha256Hex(payloadtest::readBytes(work / "Default.avl")));
  for (const char* name : {"uninstall.dat", "uninstall_l.avl"}) {
    const FileDaclFacts dacl = fileDaclFacts((app / name).u16string());
    EXPECT_TRUE(dacl.read && !dacl.usersMayChange) << name;
    if (systemKeepsDaclsAsWritten()) {
      EXPECT_TRUE(dacl.isProtected && dacl.usersMayRead) << name;
    }
  }

  const LinkProperties startLink = readLink(options.startMenuBase + u"Tools\\App\\Tool.lnk");
  EXPECT_EQ(startLink.target, (app / "bin" / "tool.exe").wstring());
  EXPECT_EQ(startLink.arguments, L"/safe --quiet");
  EXPECT_EQ(startLink.workingFolder, (app / "bin" / "").wstring());
  const LinkProperties deskLink = readLink(options.desktopBase + u"Tool Desk.lnk");
  EXPECT_EQ(deskLink.workingFolder, (app / "bin" / "").wstring());

  std::string data;
  EXPECT_EQ(valueType(HKEY_CURRENT_USER, wide(kTestKey), L"Path", data), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(valueType(HKEY_CURRENT_USER, wide(kTestKey), L"Number", data), static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(data, std::string("\x10\x00\x00\x00", 4));
  EXPECT_EQ(valueType(HKEY_CURRENT_USER, wide(kTestKey), L"Bytes", data), static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(data, "\x0A\xFF");
  EXPECT_EQ(valueType(HKEY_CURRENT_USER, wide(kTestKey), L"Multi", data), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(valueType(HKEY_CURRENT_USER, wide(kTestKey), L"Expand", data), static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(data, std::string("%\0T\0E\0M\0P\0%\0\0\0", 14));
  EXPECT_EQ(valueType(HKEY_CURRENT_USER, wide(kTestKey), L"Lower", data), static_cast<DWORD>(REG_SZ));

  EXPECT_EQ(entryValue(u"UninstallString"),
            u"\"" + appFolder + u"uninstall.exe\"");
  EXPECT_EQ(entryValue(u"DisplayIcon"), appFolder + u"uninstall.exe");
  EXPECT_EQ(entryValue(u"QuietUninstallString"),
            u"\"" + appFolder + u"uninstall.exe\" /S");
  EXPECT_EQ(valueType(HKEY_LOCAL_MACHINE, wide(uninstallKey), L"EstimatedSize", data), static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(entryValue(u"Publisher"), u"Acme");
  EXPECT_EQ(entryValue(u"DisplayVersion"), u"2.0");

  deleteKey(RegistryRoot::localMachine, uninstallKey);
  deleteKey(RegistryRoot::currentUser, kTestKey);
}

TEST(InstallationRunWin, AnAbortLeavesNoCutFileAndALogThatRemovesWhatWasWritten) {
  payloadtest::ScratchFolder scratch;
  const fs::path app = scratch.path / "app";
  SetupState state;
  state.ownFile = (scratch.path / "setup.exe").u16string();
  state.choices.appFolderText = app.u16string();
  state.options.Appname = u"AverluneAbortTest";
  state.options.Uninstaller = 1;
  state.options.UninstallerFilename = u"uninstall";
  const InstallationTexts texts{u"Extracting", u"Done", u"Extract failed", u"Cannot extract"};
  InstallationReports reports;
  std::vector<std::string> events;
  reports.showError = [&](const std::u16string&, const std::u16string& text) { events.push_back(encodeUtf8(text)); };
  reports.setStatus = [](const std::u16string&) {};
  reports.setProgressMaximum = [](int) {};
  reports.setProgress = [](int) {};
  reports.askAfterFailedExtraction = [](const std::u16string&, const std::u16string&) { return ExtractionChoice::abort; };
  reports.endRun = [&](bool remove) { events.push_back(remove ? "end removing" : "end"); };
  reports.note = [&](const std::u16string& line) {
    if (line.rfind(u"removed", 0) == 0) events.push_back(encodeUtf8(line));
  };

  // A damaged read-only entry is cut while written: the abort removes it.
  payloadtest::writeArchive(scratch.path / "setup.exe",
                            {{"docs/", "", 0x10},
                             {"docs/a.txt", "a"},
                             {"bad.txt", "not deflated data", 0x21, 0x5A2D753D, Z_DEFLATED, true, 10, 0},
                             {"c.txt", "c"}});
  {
    TargetOnOwnFile cut(state);
    cut.target.uninstallerImage = "MZ uninstaller";  // no uninstaller, no log
    runInstallation(state, texts, reports, cut.target);
  }
  const std::u16string appFolder = (app / "").u16string();
  const std::string folder = encodeUtf8(appFolder);
  EXPECT_EQ(events, (std::vector<std::string>{"removed after the failure: " + folder + "bad.txt", "end removing"}));
  EXPECT_EQ(payloadtest::readBytes(app / "docs" / "a.txt"), "a");
  EXPECT_FALSE(fs::exists(app / "bad.txt"));
  EXPECT_FALSE(fs::exists(app / "c.txt"));
  EXPECT_EQ(payloadtest::readBytes(app / "uninstall.dat"),
            uninstallLogHeaderBytes({u"AverluneAbortTest", u"", u"", appFolder, 4}) +
                uninstallFileRecord(appFolder + u"docs\\a.txt") + uninstallFolderRecord(appFolder + u"docs\\"));

  // A file another program holds was never opened by the run: the abort leaves it whole.
  events.clear();
  payloadtest::writeArchive(scratch.path / "setup.exe", {{"held.txt", "new"}});
  std::ofstream(app / "held.txt") << "in use";
  {
    const OwnedHandle held(CreateFileW((app / "held.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    TargetOnOwnFile inUse(state);
    runInstallation(state, texts, reports, inUse.target);
  }
  EXPECT_EQ(events, std::vector<std::string>{"end removing"});
  EXPECT_EQ(payloadtest::readBytes(app / "held.txt"), "in use");
  deleteKey(RegistryRoot::localMachine, std::u16string(kUninstallKeyBase) + u"AverluneAbortTest");
}

TEST(InstallationRunWin, FatalFailuresEndTheRunBeforeAnythingIsWritten) {
  payloadtest::ScratchFolder scratch;
  SetupState state;
  state.ownFile = (scratch.path / "setup.exe").u16string();  // no archive yet
  state.choices.appFolderText = (scratch.path / "app").u16string();
  state.options.Uninstaller = 1;
  const InstallationTexts texts{u"Extracting", u"Done", u"Extract failed", u"Cannot extract"};
  std::vector<std::string> events;
  InstallationReports reports;
  reports.showError = [&](const std::u16string& title, const std::u16string& text) {
    events.push_back(encodeUtf8(title) + "/" + encodeUtf8(text));
  };
  reports.endRun = [&](bool remove) { events.push_back(remove ? "end removing" : "end"); };
  {
    TargetOnOwnFile missingArchive(state);
    runInstallation(state, texts, reports, missingArchive.target);
  }

  // An application folder that is a file cannot be held.
  payloadtest::writeArchive(scratch.path / "setup.exe", {{"a.txt", "a"}});
  std::ofstream(scratch.path / "app") << "a file";
  TargetOnOwnFile fileInTheWay(state);
  runInstallation(state, texts, reports, fileInTheWay.target);
  EXPECT_EQ(events, (std::vector<std::string>{"Extract failed/Cannot extract", "end removing", "Error/Setup Error!",
                                              "end removing"}));
  EXPECT_EQ(payloadtest::readBytes(scratch.path / "app"), "a file");
}

// A signed setup's cabinet brings the signed uninstaller into the work folder; that one is written.
// Without it, or when it is empty, the uninstaller built into the program is.
TEST(InstallationRunWin, WritesTheSignedUninstallerOfTheWorkFolderWhenThereIsOne) {
  payloadtest::ScratchFolder scratch;
  const std::u16string workFolder = scratch.path.u16string() + u"\\";
  const std::string builtIn = uninstallerImage(u"");
  EXPECT_EQ(uninstallerImage(workFolder), builtIn);
  std::ofstream(scratch.path / kCabinetUninstallerName, std::ios::binary) << "";
  EXPECT_EQ(uninstallerImage(workFolder), builtIn);
  std::ofstream(scratch.path / kCabinetUninstallerName, std::ios::binary) << "MZ signed";
  EXPECT_EQ(uninstallerImage(workFolder), "MZ signed");
}

}  // namespace
}  // namespace averlune

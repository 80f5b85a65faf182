#include "install/installation_run_win.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "config/folder_path_win.h"
#include "config/system_lookup_win.h"
#include "config/wide_text_win.h"
#include "install/payload_file_system_win.h"
#include "install/registry_list_win.h"
#include "install/shortcut_link_win.h"
#include "install/uninstall_registration_win.h"
#include "install/uninstaller_image_id.h"
#include "wizard/wizard_navigation_win.h"

namespace averlune {
namespace {

std::u16string controlText(HWND control) {
  if (!control) return {};
  const int length = GetWindowTextLengthW(control);
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
  const int got = GetWindowTextW(control, text.data(), length + 1);
  return fromWide(text.data(), got > 0 ? static_cast<std::size_t>(got) : 0);
}

bool isTicked(HWND checkBox) { return checkBox && SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::u16string ownPath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  DWORD length;
  while ((length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()))) == buffer.size()) {
    buffer.resize(buffer.size() * 2);
  }
  return fromWide(buffer.data(), length);
}

std::u16string userName() {
  wchar_t name[257];
  DWORD length = 257;
  if (!GetUserNameW(name, &length) || length == 0) return {};
  return fromWide(name, length - 1);  // the count includes the terminating zero
}

bool writeWholeFile(const std::u16string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(wide(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                                    written == bytes.size());
  CloseHandle(file);
  return ok;
}

// The uninstall log is written one record per WriteFile, unbuffered: a run that ends half-way
// (Abort, Cancel) leaves a log that is complete up to the last record.
struct LogFile {
  HANDLE handle = INVALID_HANDLE_VALUE;
  void append(const std::string& bytes) const {
    DWORD written = 0;
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);  // lost when it fails
  }
};

HWND messageOwner(const SetupRun& run) { return run.handles.wizard.window ? run.handles.wizard.window : run.handles.mainWindow; }

}  // namespace

std::string embeddedUninstallerImage() {
  HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(IDR_UNINSTALLER_IMAGE), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!resource) return {};
  HGLOBAL loaded = LoadResource(nullptr, resource);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  return std::string(static_cast<const char*>(data), SizeofResource(nullptr, resource));
}

InstallationTexts installationTexts(const SetupState& state) {
  const LanguageTexts& texts = state.languageTexts;
  return {texts.Installing.Text2, texts.Installing.Text3, texts.Messages.CouldNotExtractFileH,
          texts.Messages.CouldNotExtractFile};
}

InstallationSystem windowsInstallationSystem(SetupRun& run) {
  const WizardControls& controls = run.handles.wizard;
  auto log = std::make_shared<LogFile>();
  InstallationSystem system;
  system.appFolderText = [&controls] { return controlText(controls.appFolderField); };
  system.startMenuFolderText = [&controls] { return controlText(controls.startMenuFolderField); };
  system.desktopIconTicked = [&controls] { return isTicked(controls.desktopIconCheckBox); };
  system.startMenuTicked = [&controls] { return isTicked(controls.startMenuCheckBox); };
  system.setStatus = [&controls](const std::u16string& text) {
    if (controls.statusLabel) SetWindowTextW(controls.statusLabel, wide(text));
  };
  system.setProgressMaximum = [&controls](int maximum) {
    if (controls.progressBar) SendMessageW(controls.progressBar, PBM_SETRANGE32, 0, maximum);
  };
  system.setProgress = [&controls](int position) {
    if (controls.progressBar) SendMessageW(controls.progressBar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  };
  system.showFinishPage = [&run] { showFinishPage(run); };
  system.showError = [&run](const std::u16string& title, const std::u16string& text) {
    MessageBoxW(messageOwner(run), wide(text), wide(title), MB_OK | MB_ICONERROR);
  };
  system.askAfterFailedExtraction = [&run](const std::u16string& title, const std::u16string& text) {
    switch (MessageBoxW(messageOwner(run), wide(text), wide(title), MB_ABORTRETRYIGNORE | MB_ICONERROR)) {
      case IDRETRY: return ExtractionChoice::retry;
      case IDIGNORE: return ExtractionChoice::ignore;
      default: return ExtractionChoice::abort;  // Abort, or no box at all: nothing more is written
    }
  };
  system.endRun = [](bool removeWorkFolder) { endSetupRun(removeWorkFolder); };
  system.setEnvironmentVariable = [](const std::u16string& name, const std::u16string& value) {
    SetEnvironmentVariableW(wide(name), wide(value));
  };
  system.userName = userName;
  system.makeFolderPath = [](const std::u16string& folder) { return makeFolderPath(folder); };
  system.folderExists = [](const std::u16string& path) { return folderExists(path); };
  system.writeUninstallerImage = [](const std::u16string& path) {
    const std::string image = embeddedUninstallerImage();
    if (!image.empty()) writeWholeFile(path, image);
  };
  system.copyFile = [](const std::u16string& from, const std::u16string& to) {
    CopyFileW(wide(from), wide(to), FALSE);  // a copy that fails leaves the uninstaller without texts
  };
  system.createLog = [log](const std::u16string& path, const std::string& header) {
    log->handle = CreateFileW(wide(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (log->handle == INVALID_HANDLE_VALUE) return false;
    log->append(header);
    return true;
  };
  system.appendLog = [log](const std::string& record) { log->append(record); };
  system.closeLog = [log] {
    CloseHandle(log->handle);
    log->handle = INVALID_HANDLE_VALUE;
  };
  system.registerUninstaller = [](const UninstallRegistration& registration) { registerUninstaller(registration); };
  system.createShortcut = [](const ShortcutLink& link) {
    createShortcut(link.target, link.linkPath, link.workingFolder, link.arguments, u"", u"", 0);
  };
  system.writeRegistryEntry = [](const RegistryListEntry& entry) { writeRegistryEntry(entry); };
  system.lookup = windowsSystemLookup();
  system.fileSystem = windowsPayloadFileSystem();
  system.ownPath = ownPath();
  return system;
}

void runInstallation(SetupRun& run) {
  const InstallationSystem system = windowsInstallationSystem(run);
  runInstallationSteps(run.state, installationTexts(run.state), system);
}

}  // namespace averlune

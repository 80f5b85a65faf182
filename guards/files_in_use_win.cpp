#include "guards/files_in_use_win.h"

#include <windows.h>
#include <restartmanager.h>

#include "base/wide_text_win.h"
#include "guards/dll_search_win.h"
#include "guards/files_in_use.h"
#include "guards/link_free_files_win.h"

namespace averlune {
namespace {

using RmStartSessionCall = DWORD(WINAPI*)(DWORD*, DWORD, WCHAR[]);
using RmRegisterResourcesCall = DWORD(WINAPI*)(DWORD, UINT, LPCWSTR[], UINT, RM_UNIQUE_PROCESS[], UINT, LPCWSTR[]);
using RmGetListCall = DWORD(WINAPI*)(DWORD, UINT*, UINT*, RM_PROCESS_INFO[], DWORD*);
using RmEndSessionCall = DWORD(WINAPI*)(DWORD);

// The Restart Manager's calls, taken from the system folder's rstrtmgr.dll when a file is found in
// use, which is rare: importing it would load it into every run, by the program's search order.
struct RestartManager {
  HMODULE library = nullptr;
  RmStartSessionCall startSession = nullptr;
  RmRegisterResourcesCall registerResources = nullptr;
  RmGetListCall getList = nullptr;
  RmEndSessionCall endSession = nullptr;

  RestartManager() : library(loadSystemLibrary(L"rstrtmgr.dll")) {
    if (!library) return;
    startSession = find<RmStartSessionCall>("RmStartSession");
    registerResources = find<RmRegisterResourcesCall>("RmRegisterResources");
    getList = find<RmGetListCall>("RmGetList");
    endSession = find<RmEndSessionCall>("RmEndSession");
  }
  ~RestartManager() {
    if (library) FreeLibrary(library);
  }
  RestartManager(const RestartManager&) = delete;
  RestartManager& operator=(const RestartManager&) = delete;

  template <typename Call>
  Call find(const char* name) const {
    return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  }
  bool ready() const { return startSession && registerResources && getList && endSession; }
};

}  // namespace

std::vector<std::u16string> programsHolding(const std::u16string& path) {
  const RestartManager manager;
  std::vector<std::u16string> names;
  if (!manager.ready()) return names;
  DWORD session = 0;
  WCHAR key[CCH_RM_SESSION_KEY + 1] = L"";
  if (manager.startSession(&session, 0, key) != ERROR_SUCCESS) return names;
  LPCWSTR files[] = {wide(path)};
  std::vector<RM_PROCESS_INFO> processes;
  if (manager.registerResources(session, 1, files, 0, nullptr, 0, nullptr) == ERROR_SUCCESS) {
    // The list may grow between asking its size and reading it: ask again a few times.
    for (int attempt = 0; attempt < 3; ++attempt) {
      UINT needed = 0;
      UINT count = static_cast<UINT>(processes.size());
      DWORD reasons = 0;
      const DWORD result = manager.getList(session, &needed, &count, processes.data(), &reasons);
      if (result == ERROR_SUCCESS) {
        processes.resize(count);
        break;
      }
      processes.clear();
      if (result != ERROR_MORE_DATA) break;
      processes.resize(needed);
    }
  }
  manager.endSession(session);  // nothing to do when it fails: the session ends with the process
  for (const RM_PROCESS_INFO& process : processes) {
    const std::u16string name = fromWide(process.strAppName);
    if (!name.empty()) names.push_back(name);
  }
  return names;
}

bool replaceAtRestart(const std::u16string& newPath, const std::u16string& path) {
  return MoveFileExW(wide(newPath), wide(path), MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING) != 0;
}

bool deleteAtRestart(const std::u16string& path) {
  return MoveFileExW(wide(path), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

bool deleteFolderAtRestart(HANDLE folder, const std::u16string& path, const std::vector<std::u16string>& queued) {
  std::vector<FolderEntry> entries;
  if (!listFolder(folder, entries)) return false;
  std::vector<std::u16string> names;
  for (const FolderEntry& entry : entries) names.push_back(entry.name);
  return holdsOnlyQueued(path, names, queued) && deleteAtRestart(path.substr(0, path.size() - 1));
}

}  // namespace averlune

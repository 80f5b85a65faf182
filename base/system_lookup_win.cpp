#include "base/system_lookup_win.h"

#include <windows.h>
#include <shlobj.h>

#include <utility>

#include "base/owned_handle_win.h"
#include "base/registry_win.h"
#include "base/wide_text_win.h"

namespace averlune {
namespace {

std::u16string windowsEnvironmentVariable(const std::u16string& name) {
  // The value can grow between the two calls when another thread sets it; ask again then.
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD needed = GetEnvironmentVariableW(wide(name), nullptr, 0);
    if (needed == 0) return {};  // not set, or set to the empty text
    std::wstring value(needed, L'\0');
    const DWORD written = GetEnvironmentVariableW(wide(name), &value[0], needed);
    if (written < needed) return fromWide(value.data(), written);
  }
  return {};
}

std::u16string windowsSystemFolder() {
  wchar_t path[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return fromWide(path, length);
}

std::u16string windowsSpecialFolder(int csidl) {
  LPITEMIDLIST items = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) || !items) return {};
  const OwnedShellMemory held(items);
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(items, path)) return {};
  return fromWide(path);
}

bool windowsReadRegistryText(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                             std::u16string& text) {
  RegistryText read = readRegistryValueText(root, subKey, valueName);
  if (!read.ok) return false;
  text = std::move(read.text);
  return true;
}

}  // namespace

SystemLookup windowsSystemLookup() {
  SystemLookup lookup;
  lookup.environmentVariable = windowsEnvironmentVariable;
  lookup.systemFolder = windowsSystemFolder;
  lookup.specialFolder = windowsSpecialFolder;
  lookup.readRegistryText = windowsReadRegistryText;
  return lookup;
}

}  // namespace averlune

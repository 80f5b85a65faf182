#include "tests/e2e/driver/installed_state_win.h"

#include <objbase.h>
#include <winioctl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

namespace averlune::e2e {
namespace {

std::wstring withBackslash(std::wstring path) {
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path;
}

// Wine's own export that names the host's path for a Windows path; empty outside Wine.
std::string hostPath(const std::wstring& path) {
  using HostName = char*(CDECL*)(const wchar_t*);
  const auto name = reinterpret_cast<HostName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* text = name ? name(path.c_str()) : nullptr;
  if (!text) return {};
  std::string result = text;
  HeapFree(GetProcessHeap(), 0, text);
  return result;
}

// Runs a program of the host (Wine starts those too) and waits for it; its arguments, each quoted,
// name host paths, since the Windows names of the paths would not do for it. False when it cannot
// be started.
bool runHostProgram(const std::wstring& program, const std::vector<std::string>& arguments) {
  std::wstring command = program;
  for (const std::string& path : arguments) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), size);
    wide.resize(wcslen(wide.c_str()));
    command += L" \"" + wide + L"\"";
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

// Removes a link itself, never what it points to. Wine shows the host's symbolic links as links
// but cannot remove them: the host's rm does.
void removeLink(const std::wstring& path) {
  const std::string host = hostPath(path);
  if (!host.empty()) {
    runHostProgram(L"Z:\\bin\\rm -f", {host});
    for (int waited = 0; waited < 5000 && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; waited += 50) {
      Sleep(50);  // the host's change shows a moment after rm has ended
    }
    return;
  }
  if (!RemoveDirectoryW(path.c_str())) DeleteFileW(path.c_str());  // a junction, or a link to a file
}

}  // namespace

FileFacts fileFacts(const std::wstring& path) {
  FileFacts facts;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return facts;
  facts.exists = true;
  facts.attributes = data.dwFileAttributes;
  FILETIME local{};
  FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
  FileTimeToSystemTime(&local, &facts.lastWriteLocal);
  return facts;
}

std::optional<std::string> readFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

std::string writtenFile(const std::wstring& path, int timeoutMs) {
  std::optional<std::string> last;
  for (int waited = 0; waited < timeoutMs; waited += 100) {
    const std::optional<std::string> now = readFileBytes(path);
    if (now && !now->empty() && last && *now == *last) return *now;
    last = now;
    Sleep(100);
  }
  return last.value_or("");
}

bool writeFileBytes(const std::wstring& path, const std::string& bytes) {
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(file);
  return ok;
}

bool setLastWriteLocal(const std::wstring& path, const SYSTEMTIME& local) {
  FILETIME localTime{}, utc{};
  if (!SystemTimeToFileTime(&local, &localTime) || !LocalFileTimeToFileTime(&localTime, &utc)) return false;
  HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool ok = SetFileTime(file, nullptr, nullptr, &utc);
  CloseHandle(file);
  return ok;
}

void removeTree(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    removeLink(path);  // what it points to is not this tree's
    return;
  }
  SetFileAttributesW(path.c_str(), attributes & ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileW(path.c_str());
    return;
  }
  for (const std::wstring& name : folderEntries(path)) removeTree(withBackslash(path) + name);
  if (RemoveDirectoryW(path.c_str())) return;
  // Wine neither lists nor removes a host's link whose target is gone; the host's find removes
  // the links directly in the folder without following them.
  const std::string host = hostPath(path);
  if (host.empty()) return;
  runHostProgram(L"Z:\\usr\\bin\\find", {host, "-maxdepth", "1", "-type", "l", "-delete"});
  RemoveDirectoryW(path.c_str());
}

bool waitUntilGone(const std::wstring& path, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 100) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    Sleep(100);
  }
  return false;
}

std::vector<std::wstring> folderEntries(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((withBackslash(folder) + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

HeldFile::HeldFile(const std::wstring& path) {
  handle_ = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

void HeldFile::release() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

namespace {

// The mount-point form of a reparse buffer (the user-mode headers do not declare it).
struct MountPointBuffer {
  DWORD tag;
  WORD dataLength;
  WORD reserved;
  WORD substituteOffset, substituteLength, printOffset, printLength;
  wchar_t names[1024];
};

bool makeJunction(const std::wstring& link, const std::wstring& target) {
  if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
  HANDLE folder = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  bool made = false;
  if (folder != INVALID_HANDLE_VALUE) {
    const std::wstring substitute = L"\\??\\" + target;
    MountPointBuffer buffer{};
    buffer.tag = IO_REPARSE_TAG_MOUNT_POINT;
    buffer.substituteLength = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
    buffer.printOffset = static_cast<WORD>(buffer.substituteLength + sizeof(wchar_t));
    buffer.printLength = static_cast<WORD>(target.size() * sizeof(wchar_t));
    std::copy(substitute.begin(), substitute.end(), buffer.names);
    std::copy(target.begin(), target.end(), buffer.names + substitute.size() + 1);
    buffer.dataLength = static_cast<WORD>(8 + buffer.printOffset + buffer.printLength + sizeof(wchar_t));
    DWORD returned = 0;
    made = DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, &buffer, 8 + buffer.dataLength, nullptr, 0, &returned,
                           nullptr) != FALSE;
    CloseHandle(folder);
  }
  if (!made) RemoveDirectoryW(link.c_str());
  return made;
}

bool makeHostLink(const std::wstring& link, const std::wstring& target) {
  const std::string linkPath = hostPath(link);
  const std::string targetPath = hostPath(target);
  if (linkPath.empty() || targetPath.empty()) return false;
  return runHostProgram(L"Z:\\bin\\ln -s", {targetPath, linkPath});
}

bool isLink(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

bool moveByHost(const std::wstring& from, const std::wstring& to) {
  const std::string fromPath = hostPath(from);
  const std::string toPath = hostPath(to);
  if (fromPath.empty() || toPath.empty() || !runHostProgram(L"Z:\\bin\\mv", {fromPath, toPath})) return false;
  for (int waited = 0; waited < 5000; waited += 50) {  // as with ln, the name may show a moment later
    if (GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    Sleep(50);
  }
  return false;
}

bool makeFolderLink(const std::wstring& link, const std::wstring& target) {
  if (makeJunction(link, target) && isLink(link)) return true;
  // The host's link appears a moment after ln has ended.
  if (!makeHostLink(link, target)) return false;
  for (int waited = 0; waited < 5000; waited += 50) {
    if (isLink(link)) return true;
    Sleep(50);
  }
  return false;
}

ShortcutFacts readShortcut(const std::wstring& linkPath) {
  ShortcutFacts facts;
  const HRESULT initialised = CoInitialize(nullptr);
  IShellLinkW* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      if (SUCCEEDED(file->Load(linkPath.c_str(), STGM_READ))) {
        facts.loaded = true;
        wchar_t text[1024] = L"";
        // SLGP_RAWPATH: the path as it was stored, not resolved against what exists now.
        if (SUCCEEDED(link->GetPath(text, 1024, nullptr, SLGP_RAWPATH))) facts.target = text;
        text[0] = L'\0';
        if (SUCCEEDED(link->GetArguments(text, 1024))) facts.arguments = text;
        text[0] = L'\0';
        if (SUCCEEDED(link->GetWorkingDirectory(text, 1024))) facts.workingDirectory = text;
        text[0] = L'\0';
        if (SUCCEEDED(link->GetDescription(text, 1024))) facts.description = text;
        text[0] = L'\0';
        int index = -1;
        if (SUCCEEDED(link->GetIconLocation(text, 1024, &index))) {
          facts.iconFile = text;
          facts.iconIndex = index;
        }
      }
      file->Release();
    }
    link->Release();
  }
  if (SUCCEEDED(initialised)) CoUninitialize();
  return facts;
}

std::wstring environmentText(const wchar_t* name) {
  wchar_t buffer[32768];
  const DWORD length = GetEnvironmentVariableW(name, buffer, 32768);
  return length > 0 && length < 32768 ? std::wstring(buffer, length) : std::wstring();
}

std::wstring shellFolder(int csidl) {
  wchar_t path[MAX_PATH] = L"";
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return L"";
  return withBackslash(path);
}

namespace {

bool keyExists(HKEY root, const std::wstring& subKey, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

}  // namespace

// The driver is built for the same Windows as the setup it drives, so its own default view is
// the one the setup writes to.
bool registryKeyExists(HKEY root, const std::wstring& subKey) { return keyExists(root, subKey, 0); }

bool registryKeyExistsInNativeView(HKEY root, const std::wstring& subKey) {
  return keyExists(root, subKey, KEY_WOW64_64KEY);
}

std::wstring pendingRenames() {
  const RegistryValue value = readRegistryValue(
      HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager", L"PendingFileRenameOperations");
  std::wstring text;
  for (std::size_t i = 0; i + 1 < value.data.size(); i += 2) {
    const wchar_t c = static_cast<wchar_t>(value.data[i] | value.data[i + 1] << 8);
    text += c == L'\0' ? L'|' : static_cast<wchar_t>(towupper(c));
  }
  return text;
}

std::wstring upperCased(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(towupper(c));
  return text;
}

RegistryValue readRegistryValue(HKEY root, const std::wstring& subKey, const std::wstring& name) {
  RegistryValue value;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
  DWORD size = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
    value.data.resize(size);
    if (RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.data.data(), &size) == ERROR_SUCCESS) {
      value.data.resize(size);
      value.exists = true;
    }
  }
  RegCloseKey(key);
  return value;
}

std::optional<std::wstring> readRegistryText(HKEY root, const std::wstring& subKey, const std::wstring& name) {
  const RegistryValue value = readRegistryValue(root, subKey, name);
  if (!value.exists || (value.type != REG_SZ && value.type != REG_EXPAND_SZ)) return std::nullopt;
  std::wstring text(value.data.size() / sizeof(wchar_t), L'\0');
  std::copy(value.data.begin(), value.data.begin() + text.size() * sizeof(wchar_t),
            reinterpret_cast<std::uint8_t*>(text.data()));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

bool writeRegistryValue(HKEY root, const std::wstring& subKey, const std::wstring& name, DWORD type,
                        const std::vector<std::uint8_t>& data) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const bool ok = RegSetValueExW(key, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}

void deleteRegistryTree(HKEY root, const std::wstring& subKey) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  RegDeleteTreeW(key, nullptr);
  RegCloseKey(key);
  RegDeleteKeyW(root, subKey.c_str());
}

std::vector<std::uint8_t> registryTextBytes(const std::wstring& text, bool multi) {
  std::wstring stored = text;
  stored.push_back(L'\0');
  if (multi) stored.push_back(L'\0');
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(stored.data());
  return std::vector<std::uint8_t>(bytes, bytes + stored.size() * sizeof(wchar_t));
}

}  // namespace averlune::e2e

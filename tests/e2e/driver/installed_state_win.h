#pragma once
// Reads back what an installation left on the machine, from the test's own process: files with
// their times and attributes, shell links through the shell's link object, registry values in the
// view a setup writes, and removes all of it again so that tests stay
// independent.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace averlune::e2e {

struct FileFacts {
  bool exists = false;
  DWORD attributes = 0;
  SYSTEMTIME lastWriteLocal{};  // last-write time in this machine's local time
};

FileFacts fileFacts(const std::wstring& path);
// The whole file, or nothing when it cannot be read.
std::optional<std::string> readFileBytes(const std::wstring& path);
// The content of a file that another process writes, once it can be read, is not empty and stays
// the same for a moment (a writer that holds the file alone cannot be read from before it is
// done); empty when that does not happen within `timeoutMs`.
std::string writtenFile(const std::wstring& path, int timeoutMs);
bool writeFileBytes(const std::wstring& path, const std::string& bytes);
// Sets the file's last-write time to a local time.
bool setLastWriteLocal(const std::wstring& path, const SYSTEMTIME& local);
// Removes a file or a folder with everything in it, read-only files included; a link in it is
// removed itself, what it points to stays.
void removeTree(const std::wstring& path);
// The names directly inside a folder (files and folders), sorted.
std::vector<std::wstring> folderEntries(const std::wstring& folder);
// True once nothing stands at `path` any more (an uninstaller's last step ends after its own
// process); false when something still does after `timeoutMs`.
bool waitUntilGone(const std::wstring& path, int timeoutMs = 30000);

// Keeps a file open without sharing, so that nobody else can open it until it is released.
class HeldFile {
 public:
  explicit HeldFile(const std::wstring& path);
  ~HeldFile() { release(); }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void release();

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Renames a file through the host's mv, which share modes do not hold up: what a user who owns the
// folder can do on Windows with a file whose holder shares deletion. True when `to` exists then.
bool moveByHost(const std::wstring& from, const std::wstring& to);

// Makes `link` (which must not exist) a link to the folder `target`: a junction where the platform
// makes them; under Wine, which makes none, a symbolic link of the host's file system made by the
// host's ln, which Wine shows as a folder link. True when `link` is a link afterwards.
bool makeFolderLink(const std::wstring& link, const std::wstring& target);

struct ShortcutFacts {
  bool loaded = false;
  std::wstring target;
  std::wstring arguments;
  std::wstring workingDirectory;
  std::wstring description;
  std::wstring iconFile;
  int iconIndex = -1;
};

// Loads the .lnk file through IShellLinkW / IPersistFile.
ShortcutFacts readShortcut(const std::wstring& linkPath);

// A shell folder of the current user or of all users (CSIDL_*), ending in "\".
std::wstring shellFolder(int csidl);
// An environment variable of this process (which is built for the same Windows as the setup, so
// it sees the same folders, "ProgramFiles" included); empty when it is not set.
std::wstring environmentText(const wchar_t* name);

struct RegistryValue {
  bool exists = false;
  DWORD type = REG_NONE;
  std::vector<std::uint8_t> data;
};

bool registryKeyExists(HKEY root, const std::wstring& subKey);
// The same in the machine's native view (the 64-bit view on 64-bit Windows), whatever this
// process's own view is.
bool registryKeyExistsInNativeView(HKEY root, const std::wstring& subKey);
RegistryValue readRegistryValue(HKEY root, const std::wstring& subKey, const std::wstring& name);
// A REG_SZ / REG_EXPAND_SZ value's text without its terminating zero; nothing for other types.
std::optional<std::wstring> readRegistryText(HKEY root, const std::wstring& subKey, const std::wstring& name);
// Creates the key when needed and writes the value as given.
bool writeRegistryValue(HKEY root, const std::wstring& subKey, const std::wstring& name, DWORD type,
                        const std::vector<std::uint8_t>& data);
// Removes the key with everything below it; nothing happens when it does not exist.
void deleteRegistryTree(HKEY root, const std::wstring& subKey);

// The queue of renames and deletions the next restart carries out, upper-cased, its texts
// separated by "|" ("\??\C:\A.NEW|!\??\C:\A|" renames over a name, "\??\C:\B||" deletes).
std::wstring pendingRenames();
// `text` upper-cased, to look for a path in pendingRenames().
std::wstring upperCased(std::wstring text);

// The bytes of a text as REG_SZ stores it (UTF-16, terminating zero included); REG_MULTI_SZ with
// `multi`.
std::vector<std::uint8_t> registryTextBytes(const std::wstring& text, bool multi = false);

}  // namespace averlune::e2e

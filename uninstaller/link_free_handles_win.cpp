#include "uninstaller/link_free_handles_win.h"

#include <winternl.h>

#include <memory>
#include <new>

#include "config/folder_path_win.h"
#include "config/wide_text_win.h"
#include "uninstaller/removal_rules.h"

namespace averlune {
namespace {

// NtCreateFile's disposition and options, and the information classes used here.
constexpr ULONG kOpenExisting = 1;                 // FILE_OPEN
constexpr ULONG kSynchronousIo = 0x00000020;       // FILE_SYNCHRONOUS_IO_NONALERT
constexpr ULONG kBackupIntent = 0x00004000;        // FILE_OPEN_FOR_BACKUP_INTENT
constexpr ULONG kOpenReparsePoint = 0x00200000;    // FILE_OPEN_REPARSE_POINT
constexpr ULONG kCaseInsensitive = 0x00000040;     // OBJ_CASE_INSENSITIVE
constexpr int kDirectoryInformation = 1;           // FILE_DIRECTORY_INFORMATION
constexpr int kDispositionInformation = 13;        // FILE_DISPOSITION_INFORMATION
constexpr LONG kNoMoreFiles = static_cast<LONG>(0x80000006);

struct DirectoryRecord {  // FILE_DIRECTORY_INFORMATION
  ULONG nextEntryOffset;
  ULONG fileIndex;
  LARGE_INTEGER creationTime, lastAccessTime, lastWriteTime, changeTime, endOfFile, allocationSize;
  ULONG fileAttributes;
  ULONG fileNameLength;  // bytes
  WCHAR fileName[1];
};

using NtCreateFileCall = LONG(NTAPI*)(HANDLE*, ACCESS_MASK, OBJECT_ATTRIBUTES*, IO_STATUS_BLOCK*, LARGE_INTEGER*,
                                      ULONG, ULONG, ULONG, ULONG, void*, ULONG);
using NtQueryDirectoryFileCall = LONG(NTAPI*)(HANDLE, HANDLE, void*, void*, IO_STATUS_BLOCK*, void*, ULONG, int,
                                              BOOLEAN, UNICODE_STRING*, BOOLEAN);
using NtSetInformationFileCall = LONG(NTAPI*)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, int);

// ntdll is in every process from its start; nothing is searched for.
template <typename Call>
Call ntCall(const char* name) {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll ? reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(ntdll, name))) : nullptr;
}

}  // namespace

OwnedHandle openLinkFree(HANDLE parent, const std::u16string& name, LinkFreeAccess access) {
  const auto ntCreateFile = ntCall<NtCreateFileCall>("NtCreateFile");
  std::u16string part = name;
  while (!part.empty() && (part.back() == u'.' || part.back() == u' ')) part.pop_back();
  if (!ntCreateFile || !parent || part.empty() || part.find_first_of(u"\\/:") != std::u16string::npos) return {};
  ACCESS_MASK rights = FILE_READ_ATTRIBUTES | SYNCHRONIZE;
  ULONG share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  switch (access) {
    case LinkFreeAccess::pass: rights |= FILE_TRAVERSE; break;
    case LinkFreeAccess::remove:
      rights |= DELETE;
      share |= FILE_SHARE_DELETE;
      break;
    case LinkFreeAccess::empty: rights |= FILE_LIST_DIRECTORY | DELETE; break;
  }
  UNICODE_STRING objectName;
  objectName.Buffer = const_cast<wchar_t*>(wide(part));
  objectName.Length = static_cast<USHORT>(part.size() * sizeof(wchar_t));
  objectName.MaximumLength = objectName.Length;
  OBJECT_ATTRIBUTES attributes{};
  attributes.Length = sizeof attributes;
  attributes.RootDirectory = parent;
  attributes.ObjectName = &objectName;
  attributes.Attributes = kCaseInsensitive;
  IO_STATUS_BLOCK status{};
  HANDLE opened = nullptr;
  if (ntCreateFile(&opened, rights, &attributes, &status, nullptr, 0, share, kOpenExisting,
                   kOpenReparsePoint | kSynchronousIo | kBackupIntent, nullptr, 0) < 0) {
    return {};
  }
  return OwnedHandle(opened);
}

OwnedHandle openTrustedFolder(const std::u16string& folder) {
  return OwnedHandle(CreateFileW(wide(folder), FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

DWORD attributesOf(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION information;
  return GetFileInformationByHandle(handle, &information) ? information.dwFileAttributes : INVALID_FILE_ATTRIBUTES;
}

LinkState linkState(HANDLE handle, const std::u16string& path) {
  const DWORD attributes = attributesOf(handle);
  if (attributes == INVALID_FILE_ATTRIBUTES) return LinkState::unreadable;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return LinkState::link;
  return isLinkByName(path) ? LinkState::hostLink : LinkState::none;
}

bool deleteOnClose(HANDLE handle) {
  const auto ntSetInformationFile = ntCall<NtSetInformationFileCall>("NtSetInformationFile");
  if (!ntSetInformationFile) return false;
  BOOLEAN deleteFile = TRUE;  // FILE_DISPOSITION_INFORMATION
  IO_STATUS_BLOCK status{};
  return ntSetInformationFile(handle, &status, &deleteFile, sizeof deleteFile, kDispositionInformation) >= 0;
}

bool listFolder(HANDLE folder, std::vector<FolderEntry>& entries) {
  const auto ntQueryDirectoryFile = ntCall<NtQueryDirectoryFileCall>("NtQueryDirectoryFile");
  entries.clear();
  if (!ntQueryDirectoryFile) return false;
  constexpr ULONG kBufferSize = 64 * 1024;
  const std::unique_ptr<ULONGLONG[]> buffer(new (std::nothrow) ULONGLONG[kBufferSize / sizeof(ULONGLONG)]);
  if (!buffer) return false;
  for (BOOLEAN restart = TRUE;; restart = FALSE) {
    IO_STATUS_BLOCK status{};
    const LONG result = ntQueryDirectoryFile(folder, nullptr, nullptr, nullptr, &status, buffer.get(), kBufferSize,
                                             kDirectoryInformation, FALSE, nullptr, restart);
    if (result == kNoMoreFiles) return true;
    if (result < 0) return false;
    const char* at = reinterpret_cast<const char*>(buffer.get());
    for (;;) {
      const auto* record = reinterpret_cast<const DirectoryRecord*>(at);
      const std::u16string name = fromWide(record->fileName, record->fileNameLength / sizeof(WCHAR));
      if (name != u"." && name != u"..") entries.push_back({name, record->fileAttributes});
      if (record->nextEntryOffset == 0) break;
      at += record->nextEntryOffset;
    }
  }
}

}  // namespace averlune

namespace averlune {

OwnedHandle openFolderOnTheWay(HANDLE parent, const std::u16string& parentPath, const std::u16string& name) {
  OwnedHandle folder = openLinkFree(parent, name, LinkFreeAccess::pass);
  if (!folder || linkState(folder.get(), parentPath + name) != LinkState::none ||
      !(attributesOf(folder.get()) & FILE_ATTRIBUTE_DIRECTORY)) {
    return {};
  }
  return folder;
}

bool holdFolderWithoutLinks(const std::u16string& folder, std::vector<OwnedHandle>& held) {
  const RecordPlace place = folderFromItsRoot(folder);
  if (!place.allowed) return false;
  OwnedHandle current = openTrustedFolder(place.root);
  std::u16string path = place.root;
  for (const std::u16string& part : place.parts) {
    if (!current) return false;
    OwnedHandle next = openFolderOnTheWay(current.get(), path, part);
    held.push_back(std::move(current));
    current = std::move(next);
    path += part + u"\\";
  }
  if (!current) return false;
  held.push_back(std::move(current));
  return true;
}

}  // namespace averlune

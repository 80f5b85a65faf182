#include "guards/link_free_files_win.h"

#include <winternl.h>

#include <cstring>
#include <memory>
#include <new>

#include "base/folder_path.h"
#include "base/folder_path_win.h"
#include "base/temporary_names_win.h"
#include "base/wide_text_win.h"

namespace averlune {
namespace {

// NtCreateFile's disposition and options, and the information classes used here.
constexpr ULONG kOpenExisting = 1;                 // FILE_OPEN
constexpr ULONG kCreateNew = 2;                    // FILE_CREATE
constexpr ULONG kFolderOnly = 0x00000001;          // FILE_DIRECTORY_FILE
constexpr ULONG kSynchronousIo = 0x00000020;       // FILE_SYNCHRONOUS_IO_NONALERT
constexpr ULONG kFileOnly = 0x00000040;            // FILE_NON_DIRECTORY_FILE
constexpr ULONG kBackupIntent = 0x00004000;        // FILE_OPEN_FOR_BACKUP_INTENT
constexpr ULONG kOpenReparsePoint = 0x00200000;    // FILE_OPEN_REPARSE_POINT
constexpr ULONG kCaseInsensitive = 0x00000040;     // OBJ_CASE_INSENSITIVE
constexpr int kDirectoryInformation = 1;           // FILE_DIRECTORY_INFORMATION
constexpr int kRenameInformation = 10;             // FILE_RENAME_INFORMATION
constexpr int kDispositionInformation = 13;        // FILE_DISPOSITION_INFORMATION
constexpr LONG kNoMoreFiles = static_cast<LONG>(0x80000006);
constexpr LONG kNameCollision = static_cast<LONG>(0xC0000035);  // STATUS_OBJECT_NAME_COLLISION

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

// `name` as one part the system would give it: Windows drops trailing dots and spaces from a path's
// names. Empty when no part is left or it holds a separator or a drive colon.
std::u16string plainPart(const std::u16string& name) {
  std::u16string part = name;
  while (!part.empty() && (part.back() == u'.' || part.back() == u' ')) part.pop_back();
  return part.find_first_of(u"\\/:") == std::u16string::npos ? part : std::u16string();
}

// NtCreateFile on `name` in `parent`, never following a link at the name. The call's status.
LONG ntCreate(HANDLE parent, const std::u16string& name, ACCESS_MASK rights, ULONG share, ULONG disposition,
              ULONG options, PSECURITY_DESCRIPTOR security, OwnedHandle& opened) {
  const auto ntCreateFile = ntCall<NtCreateFileCall>("NtCreateFile");
  const std::u16string part = plainPart(name);
  constexpr LONG kInvalidParameter = static_cast<LONG>(0xC000000D);
  if (!ntCreateFile || !parent || part.empty()) return kInvalidParameter;
  UNICODE_STRING objectName;
  objectName.Buffer = const_cast<wchar_t*>(wide(part));
  objectName.Length = static_cast<USHORT>(part.size() * sizeof(wchar_t));
  objectName.MaximumLength = objectName.Length;
  OBJECT_ATTRIBUTES attributes{};
  attributes.Length = sizeof attributes;
  attributes.RootDirectory = parent;
  attributes.ObjectName = &objectName;
  attributes.Attributes = kCaseInsensitive;
  attributes.SecurityDescriptor = security;
  IO_STATUS_BLOCK status{};
  HANDLE handle = nullptr;
  const LONG result = ntCreateFile(&handle, rights, &attributes, &status, nullptr, FILE_ATTRIBUTE_NORMAL, share,
                                   disposition, options | kOpenReparsePoint | kSynchronousIo, nullptr, 0);
  if (result >= 0) opened = OwnedHandle(handle);
  return result;
}

}  // namespace

OwnedHandle openLinkFree(HANDLE parent, const std::u16string& name, LinkFreeAccess access, std::uint32_t* status) {
  ACCESS_MASK rights = FILE_READ_ATTRIBUTES | SYNCHRONIZE;
  ULONG share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  switch (access) {
    case LinkFreeAccess::pass: rights |= FILE_TRAVERSE; break;
    case LinkFreeAccess::ownFile: rights |= FILE_WRITE_ATTRIBUTES; [[fallthrough]];
    case LinkFreeAccess::remove:
      rights |= DELETE;
      share |= FILE_SHARE_DELETE;
      break;
    case LinkFreeAccess::empty: rights |= FILE_LIST_DIRECTORY | DELETE; break;
  }
  OwnedHandle opened;
  const LONG result = ntCreate(parent, name, rights, share, kOpenExisting, kBackupIntent, nullptr, opened);
  if (status) *status = static_cast<std::uint32_t>(result);
  return opened;
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

bool deleteOnClose(HANDLE handle, std::uint32_t* status) {
  const auto ntSetInformationFile = ntCall<NtSetInformationFileCall>("NtSetInformationFile");
  if (!ntSetInformationFile) return false;
  BOOLEAN deleteFile = TRUE;  // FILE_DISPOSITION_INFORMATION
  IO_STATUS_BLOCK io{};
  const LONG result = ntSetInformationFile(handle, &io, &deleteFile, sizeof deleteFile, kDispositionInformation);
  if (status) *status = static_cast<std::uint32_t>(result);
  return result >= 0;
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

OwnedHandle createLinkFree(HANDLE folder, const std::u16string& name, NewItem item, PSECURITY_DESCRIPTOR security,
                           bool* nameTaken) {
  ACCESS_MASK rights = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
  ULONG share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  ULONG options = kFolderOnly | kBackupIntent;
  if (item == NewItem::privateFolder) rights |= DELETE;
  if (item == NewItem::file) {
    rights = GENERIC_READ | GENERIC_WRITE | DELETE;
    share = FILE_SHARE_READ;
    options = kFileOnly;
  }
  OwnedHandle made;
  const LONG result = ntCreate(folder, name, rights, share, kCreateNew, options, security, made);
  if (nameTaken) *nameTaken = result == kNameCollision;
  return made;
}

OwnedHandle createUnderNewName(HANDLE folder, const std::u16string& name, PSECURITY_DESCRIPTOR security,
                               std::u16string* newName) {
  const std::u16string guid = newGuidText();
  if (guid.empty()) return {};
  const std::u16string fresh = plainPart(name) + u"." + guid;
  if (newName) *newName = fresh;
  return createLinkFree(folder, fresh, NewItem::file, security);
}

bool renameInFolder(HANDLE file, HANDLE folder, const std::u16string& name, ExistingName existing,
                    std::uint32_t* status) {
  const auto ntSetInformationFile = ntCall<NtSetInformationFileCall>("NtSetInformationFile");
  const std::u16string part = plainPart(name);
  if (!ntSetInformationFile || !folder || part.empty()) return false;
  const ULONG nameBytes = static_cast<ULONG>(part.size() * sizeof(wchar_t));
  std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);  // FILE_RENAME_INFORMATION's layout
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = existing == ExistingName::replace;
  info->RootDirectory = folder;
  info->FileNameLength = nameBytes;
  std::memcpy(info->FileName, part.data(), nameBytes);
  IO_STATUS_BLOCK io{};
  const LONG result = ntSetInformationFile(file, &io, info, static_cast<ULONG>(buffer.size()), kRenameInformation);
  if (status) *status = static_cast<std::uint32_t>(result);
  return result >= 0;
}

void removeFolderTree(HANDLE folder, const std::u16string& path) {
  std::vector<FolderEntry> entries;
  if (listFolder(folder, entries)) {
    for (const FolderEntry& entry : entries) {
      const bool isFolder = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      const OwnedHandle item =
          openLinkFree(folder, entry.name, isFolder ? LinkFreeAccess::empty : LinkFreeAccess::remove);
      if (!item) continue;
      const std::u16string itemPath = path + entry.name;
      const LinkState link = linkState(item.get(), itemPath);
      if (link == LinkState::link) deleteOnClose(item.get());  // the link itself; what it points to is not ours
      if (link != LinkState::none) continue;  // a host's link that Wine went through stays
      const DWORD attributes = attributesOf(item.get());
      if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeFolderTree(item.get(), itemPath + u"\\");
      } else if (!(attributes & FILE_ATTRIBUTE_READONLY)) {
        deleteOnClose(item.get());  // refused for a file in use: it stays
      }
    }  // each item goes as its handle closes
  }
  deleteOnClose(folder);  // refused unless it is empty now
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
  const std::optional<FolderParts> place = folderPartsFromRoot(folder);
  if (!place) return false;
  OwnedHandle current = openTrustedFolder(place->root);
  std::u16string path = place->root;
  for (const std::u16string& part : place->parts) {
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

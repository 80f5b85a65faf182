#include "uninstaller/removal_system_win.h"

#include <windows.h>
#include <winternl.h>

#include "base/owned_handle_win.h"
#include "base/path_text.h"
#include "base/registry_win.h"
#include "base/wide_text_win.h"
#include "guards/files_in_use.h"
#include "guards/files_in_use_win.h"
#include "guards/link_free_files_win.h"

namespace averlune {
namespace {

// The name an open file or folder bears in its folder, read through the handle: its long name,
// whatever form the path that opened it used. Empty when it cannot be read.
std::u16string longNameOf(HANDLE item) {
  using NtQueryInformationFileCall = LONG(NTAPI*)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, int);
  constexpr int kNameInformation = 9;  // FILE_NAME_INFORMATION: the path below the volume's root
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");  // in every process from its start
  const auto query = ntdll ? reinterpret_cast<NtQueryInformationFileCall>(reinterpret_cast<void*>(
                                 GetProcAddress(ntdll, "NtQueryInformationFile")))
                           : nullptr;
  struct {
    ULONG length;  // bytes
    WCHAR name[2048];
  } information{};
  IO_STATUS_BLOCK status{};
  if (!query || query(item, &status, &information, sizeof information, kNameInformation) < 0 ||
      information.length > sizeof information.name) {
    return {};
  }
  const std::u16string path = fromWide(information.name, information.length / sizeof(WCHAR));
  const std::size_t separator = path.find_last_of(kBackslash);
  return separator == std::u16string::npos ? path : path.substr(separator + 1);
}

// The folder that holds the place's last part, reached from its root one part at a time, and its
// path; empty when a part on the way is a link, no folder, or cannot be opened. With `longParts`,
// the long names of the parts on the way are read through their handles into it; empty when one
// cannot be read.
OwnedHandle folderOfLastPart(const RecordPlace& place, std::u16string& path, std::vector<std::u16string>* longParts) {
  if (place.parts.empty()) return {};
  OwnedHandle folder = openTrustedFolder(place.root);
  path = place.root;
  for (std::size_t i = 0; folder && i + 1 < place.parts.size(); ++i) {
    folder = openFolderOnTheWay(folder.get(), path, place.parts[i]);
    path += place.parts[i] + u"\\";
    if (folder && longParts) {
      longParts->push_back(longNameOf(folder.get()));
      if (longParts->back().empty()) return {};
    }
  }
  return folder;
}

// Whether `check` accepts the place as the system names it: the parts on the way and `item`, the
// last part, each by its long name. No check: accepted.
bool acceptedByLongNames(const RecordPlace& place, std::vector<std::u16string> longParts, HANDLE item,
                         const LongNameCheck& check) {
  if (!check) return true;
  longParts.push_back(longNameOf(item));
  if (longParts.back().empty()) return false;
  RecordPlace longPlace = place;
  longPlace.parts = std::move(longParts);
  return check(longPlace);
}

// Deletes a file, or a link itself, open for removal; a real folder, a read-only or busy file, and
// a host's link that Wine went through stay.
void deleteFileOrLink(HANDLE item, const std::u16string& path) {
  const LinkState link = linkState(item, path);
  if (link == LinkState::link) {
    deleteOnClose(item);
    return;
  }
  if (link != LinkState::none || (attributesOf(item) & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) return;
  deleteOnClose(item);  // refused for what cannot go; the record is then listed as left
}

bool removeFile(const RecordPlace& place, const LongNameCheck& check) {
  std::u16string path;
  std::vector<std::u16string> longParts;
  const OwnedHandle folder = folderOfLastPart(place, path, check ? &longParts : nullptr);
  if (!folder) return false;
  // Not there, or held by someone without sharing: reached all the same, the end check tells.
  const OwnedHandle item = openLinkFree(folder.get(), place.parts.back(), LinkFreeAccess::remove);
  if (!item) return true;
  if (!acceptedByLongNames(place, std::move(longParts), item.get(), check)) return false;
  deleteFileOrLink(item.get(), path + place.parts.back());
  return true;
}

bool removeFolder(const RecordPlace& place, const LongNameCheck& check) {
  std::u16string path;
  std::vector<std::u16string> longParts;
  const OwnedHandle parent = folderOfLastPart(place, path, check ? &longParts : nullptr);
  if (!parent) return false;
  path += place.parts.back() + u"\\";
  // Held without delete sharing while it is emptied: nobody can rename it or put a link in its
  // place meanwhile.
  const OwnedHandle folder = openLinkFree(parent.get(), place.parts.back(), LinkFreeAccess::empty);
  if (!folder) return true;
  if (!acceptedByLongNames(place, std::move(longParts), folder.get(), check)) return false;
  const LinkState link = linkState(folder.get(), path);
  if (link == LinkState::link) deleteOnClose(folder.get());  // the link itself; what it points to is not ours
  if (link != LinkState::none || !(attributesOf(folder.get()) & FILE_ATTRIBUTE_DIRECTORY)) return true;
  std::vector<FolderEntry> entries;
  if (listFolder(folder.get(), entries)) {
    for (const FolderEntry& entry : entries) {
      if (entry.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) continue;
      const OwnedHandle item = openLinkFree(folder.get(), entry.name, LinkFreeAccess::remove);
      if (item) deleteFileOrLink(item.get(), path + entry.name);
    }  // each file goes as its handle closes
  }
  deleteOnClose(folder.get());  // refused unless it is empty now
  return true;
}

// The restart deletes by path, when no handle of ours guards the folders any more: only what stands
// in the application folder, reached without a link, is queued (guards/files_in_use_win.h says
// what that relies on).
bool deleteAtRestartOf(const RecordPlace& place, bool isFolder, const std::vector<std::u16string>& queued) {
  std::u16string path;
  const OwnedHandle parent = folderOfLastPart(place, path, nullptr);
  if (!parent) return false;
  path += place.parts.back();
  if (isFolder) {
    const OwnedHandle folder = openLinkFree(parent.get(), place.parts.back(), LinkFreeAccess::empty);
    return folder && linkState(folder.get(), path) == LinkState::none &&
           (attributesOf(folder.get()) & FILE_ATTRIBUTE_DIRECTORY) &&
           deleteFolderAtRestart(folder.get(), path + u"\\", queued);
  }
  // Held without shared deletion, the file cannot be opened to be removed; a running program's
  // image can, but refuses its deletion. Either way the name's attributes can still be read.
  std::uint32_t status = 0;
  const OwnedHandle file = openLinkFree(parent.get(), place.parts.back(), LinkFreeAccess::remove, &status);
  if (file && deleteOnClose(file.get(), &status)) return false;  // let go meanwhile: it goes now
  return waitsForRestart(status, GetFileAttributesW(wide(path))) && deleteAtRestart(path);
}

// A link is named without a "\" at its end: with one, the name would stand for what is behind it.
std::u16string withoutTrailingBackslash(std::u16string path) {
  while (path.size() > 3 && path.back() == kBackslash) path.pop_back();
  return path;
}

}  // namespace

RemovalSystem windowsRemovalSystem() {
  RemovalSystem system;
  // GetFileAttributesW reports a link's own attributes, never its target's.
  system.exists = [](const std::u16string& path) {
    return GetFileAttributesW(wide(withoutTrailingBackslash(path))) != INVALID_FILE_ATTRIBUTES;
  };
  system.removeFile = removeFile;
  system.removeFolder = removeFolder;
  // A value or key that is already gone counts as removed; one that stays is told to the user.
  system.deleteValue = [](RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName) {
    return deleteValue(root, subKey, valueName) || !valueExists(root, subKey, valueName);
  };
  system.deleteKey = [](RegistryRoot root, const std::u16string& subKey) {
    return deleteKey(root, subKey) || !keyExists(root, subKey);
  };
  system.pruneEmptyKeys = pruneEmptyKeys;
  system.deleteAtRestart = deleteAtRestartOf;
  return system;
}

}  // namespace averlune

#pragma once
// Which records of an uninstall log the uninstaller carries out. The log is input: it lies in the
// application folder, which ordinary users may be able to write to, while the uninstaller runs
// with administrator rights. So files and folders are removed only inside the folders the setup
// puts things in, keys only below the Windows list of installed programs, and a log whose
// application folder is a folder of the system is refused as a whole.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace averlune {

// A folder's identity on disk (volume and file index): two paths name the same folder exactly when
// their identities are equal, whatever short names, letter case or links they go through.
struct FolderId {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool operator==(const FolderId& other) const { return volume == other.volume && index == other.index; }
};

// The identity of the folder at a path, links followed; nothing when there is no such folder.
using FolderIdLookup = std::function<std::optional<FolderId>(const std::u16string& folder)>;

// What a protected folder forbids besides being the application folder itself or one of its
// ancestors.
enum class FolderGuard {
  itself,
  inside,    // every folder inside it too (the Windows folder)
  children,  // every folder directly inside it too (the folder of all user profiles)
};

struct ProtectedFolder {
  std::u16string path;
  FolderGuard guard = FolderGuard::itself;
};

// True when `appFolder` from a log's header may not be the folder that the log removes from: it is
// not a full path ("X:\..." or "\\server\share\..."), it is a drive or share root, it climbs with
// "..", it holds a character no path can hold, or it is a protected folder or an ancestor of one,
// or lies inside or directly below one as that folder's guard says. Identities are compared when
// the lookup knows them and the texts (letter case and trailing dots aside) always.
bool isRefusedAppFolder(const std::u16string& appFolder, const std::vector<ProtectedFolder>& protectedFolders,
                        const FolderIdLookup& folderId);

// True when `appFolder` from a log's header is `ownFolder`, the folder that holds the uninstaller
// and the log: by identity when the lookup knows both, else by text (letter case and trailing dots
// aside). The log is read from its own folder, so a header naming another folder was not written
// by the setup that put it there: an edited log would otherwise make any folder it names the
// application folder, and have its files removed with administrator rights.
bool isOwnAppFolder(const std::u16string& appFolder, const std::u16string& ownFolder, const FolderIdLookup& folderId);

// The folders a log may remove files and folders from, each ending in "\".
struct RemovalFolders {
  std::u16string appFolder;                   // from the log's header, accepted by isRefusedAppFolder
  std::vector<std::u16string> sharedFolders;  // desktops and start menu program folders
};

// Where a file or folder record's path lies. `allowed` is true for a path strictly inside one of
// the folders, as a plain relative path below its text (letter case aside): no drive or stream
// colon, no part that is empty or made only of dots and spaces ("..", ".", ". ": Windows reads
// them as the folder above or the same folder), no character that no path can hold. `foldersOnTheWay` then lists the
// folders between that folder and the path's last part, outermost first, each ending in "\": the
// remover passes over the record when one of them is a link, so it never reaches through a link.
struct RecordPlace {
  bool allowed = false;
  std::vector<std::u16string> foldersOnTheWay;
};
RecordPlace placeOfRecordPath(const std::u16string& path, const RemovalFolders& folders);

// True for a key record's sub key that names one entry of the list of installed programs: the
// uninstall key base (letter case aside, one leading "\" ignored as the registry library does)
// followed by a non-empty name without "\" (one trailing "\" allowed).
bool isRemovableUninstallKey(const std::u16string& subKey);

}  // namespace averlune

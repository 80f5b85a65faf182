#pragma once
// Which folders may never be an application folder. The uninstaller removes its application folder
// with everything in it, so a folder of the system there would take the system with it: it refuses
// a log naming one, and the setup's folder page refuses the same folders before anything is
// installed there, since such an installation could never be removed.
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

// True when `appFolder` may not be an application folder: it is not a full path ("X:\..." or
// "\\server\share\..."), it is a drive or share root, it climbs with "..", it holds a character no
// path can hold, or it is a protected folder or an ancestor of one, or lies inside or directly
// below one as that folder's guard says. Identities are compared when the lookup knows them and
// the texts (letter case and trailing dots aside) always.
bool isRefusedAppFolder(const std::u16string& appFolder, const std::vector<ProtectedFolder>& protectedFolders,
                        const FolderIdLookup& folderId);

}  // namespace averlune

#include "guards/refused_app_folder.h"

#include <utility>
#include <string_view>

#include "base/contained_path.h"
#include "base/folder_key.h"
#include "base/path_text.h"

namespace averlune {
namespace {

bool startsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

// The key of the folder that holds the folder of `key`; empty for a root.
std::u16string parentKey(const std::u16string& key) {
  if (key.size() < 2) return {};
  const std::size_t separator = key.find_last_of(kBackslash, key.size() - 2);
  if (separator == std::u16string::npos || separator + 1 < fullPathRootLength(key)) return {};
  return key.substr(0, separator + 1);
}

// `folder` (with a "\" added) and each folder above it up to its root, innermost first.
std::vector<std::u16string> folderAndAncestors(const std::u16string& folder) {
  std::vector<std::u16string> chain;
  const std::size_t root = fullPathRootLength(folder);
  if (root == 0) return chain;
  std::u16string current = addBackslash(folder);
  chain.push_back(current);
  while (current.size() > root) {
    const std::size_t separator = current.find_last_of(u"\\/", current.size() - 2);
    if (separator == std::u16string::npos || separator + 1 < root) break;
    current.resize(separator + 1);
    chain.push_back(current);
  }
  return chain;
}

bool refusedByText(const std::u16string& appKey, const ProtectedFolder& folder) {
  const std::u16string key = folderKey(folder.path);
  if (key.empty()) return false;
  if (startsWith(key, appKey)) return true;  // the folder itself or one of its ancestors
  switch (folder.guard) {
    case FolderGuard::itself: return false;
    case FolderGuard::inside: return startsWith(appKey, key);
    case FolderGuard::children: return parentKey(appKey) == key;
  }
  return false;
}

bool refusedByIdentity(const std::vector<std::optional<FolderId>>& appChain, const ProtectedFolder& folder,
                       const FolderIdLookup& folderId) {
  const std::vector<std::u16string> chain = folderAndAncestors(folder.path);
  if (chain.empty()) return false;
  if (appChain.front()) {
    for (const std::u16string& above : chain) {
      if (folderId(above) == appChain.front()) return true;
    }
  }
  const std::optional<FolderId> self = folderId(chain.front());
  if (!self) return false;
  switch (folder.guard) {
    case FolderGuard::itself: return false;
    case FolderGuard::inside:
      for (std::size_t i = 1; i < appChain.size(); ++i) {
        if (appChain[i] == self) return true;
      }
      return false;
    case FolderGuard::children: return appChain.size() > 1 && appChain[1] == self;
  }
  return false;
}

}  // namespace

bool isRefusedAppFolder(const std::u16string& appFolder, const std::vector<ProtectedFolder>& protectedFolders,
                        const FolderIdLookup& folderId) {
  if (hasForbiddenPathCharacter(appFolder)) return true;
  const std::size_t root = fullPathRootLength(appFolder);
  if (root == 0) return true;
  const std::u16string_view rest = std::u16string_view(appFolder).substr(root);
  if (rest.find_first_not_of(u"\\/") == std::u16string_view::npos || !isContainedRelativePath(rest)) return true;
  const std::u16string appKey = folderKey(appFolder);
  if (appKey.empty() || appKey.size() <= fullPathRootLength(appKey)) return true;

  for (const ProtectedFolder& folder : protectedFolders) {
    if (refusedByText(appKey, folder)) return true;
  }
  if (!folderId) return false;
  // The protected folders share their upper levels (the drive, the users' folder, the Windows
  // folder): each folder is opened once per judgement, not once for every protected folder below it.
  std::vector<std::pair<std::u16string, std::optional<FolderId>>> known;  // a few dozen folders
  const FolderIdLookup onceEach = [&known, &folderId](const std::u16string& folder) {
    for (const auto& [path, id] : known) {
      if (path == folder) return id;
    }
    known.emplace_back(folder, folderId(folder));
    return known.back().second;
  };
  std::vector<std::optional<FolderId>> appChain;
  for (const std::u16string& folder : folderAndAncestors(appFolder)) appChain.push_back(onceEach(folder));
  for (const ProtectedFolder& folder : protectedFolders) {
    if (refusedByIdentity(appChain, folder, onceEach)) return true;
  }
  return false;
}

}  // namespace averlune

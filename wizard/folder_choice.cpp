#include "wizard/folder_choice.h"

#include "base/path_text.h"

namespace averlune {
namespace {

// The folder dialog takes its starting path in a buffer of MAX_PATH units with the terminator.
constexpr std::size_t kMaxStartFolderLength = 259;

std::u16string withCompanyAndAppName(std::u16string folder, const std::u16string& company,
                                     const std::u16string& appName) {
  if (!company.empty()) folder += company + kBackslash;
  return folder + appName;
}

}  // namespace

std::u16string browseStartFolder(const std::u16string& programFiles) {
  std::u16string start = programFiles.substr(0, kMaxStartFolderLength);
  if (start.size() > 3 && start.back() == kBackslash) start.pop_back();
  return start;
}

std::u16string pickedFolder(const std::u16string& itemPath) {
  return itemPath.empty() ? std::u16string() : addBackslash(itemPath);
}

std::u16string pickedStartMenuFolder(const std::u16string& itemPath, bool isFolder) {
  return itemPath.empty() || !isFolder ? itemPath : addBackslash(itemPath);
}

std::u16string appFolderFromPick(const std::u16string& picked, const std::u16string& company,
                                 const std::u16string& appName) {
  return withCompanyAndAppName(picked, company, appName);
}

std::u16string startMenuFolderFromPick(const std::u16string& picked, std::size_t startMenuBaseLength,
                                       const std::u16string& company, const std::u16string& appName) {
  const std::u16string below = startMenuBaseLength < picked.size() ? picked.substr(startMenuBaseLength) : u"";
  return withCompanyAndAppName(below, company, appName);
}

bool refusesAppFolderField(const std::u16string& fieldText, std::int32_t uninstaller,
                           const std::function<std::vector<ProtectedFolder>()>& protectedFolders,
                           const FolderIdLookup& folderId) {
  return uninstaller == 1 && isRefusedAppFolder(addBackslash(fieldText), protectedFolders(), folderId);
}

bool refusesUnaskedAppFolder(const std::u16string& installDir, bool silent, std::int32_t changeApplicationFolder,
                             std::int32_t uninstaller,
                             const std::function<std::vector<ProtectedFolder>()>& protectedFolders,
                             const FolderIdLookup& folderId) {
  const bool pageShown = !silent && changeApplicationFolder != 0;
  return !pageShown && refusesAppFolderField(installDir, uninstaller, protectedFolders, folderId);
}

}  // namespace averlune

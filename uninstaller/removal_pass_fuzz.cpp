// Carries out arbitrary bytes as an uninstall log, the way the uninstaller does, against a machine
// that only records, and checks what an edited log must never reach: every file or folder removed
// lies strictly inside the application folder or a shortcut folder (on a desktop only a link
// directly on it, never in the Startup folder), no part of its path climbs or is empty, every key
// deleted is the application's entry of the list of installed programs, and no value is deleted
// from a log without a digest.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/path_text.h"
#include "config/uninstall_log.h"
#include "uninstaller/removal_pass.h"

namespace {

using namespace averlune;

const std::u16string kDesktop = u"C:\\Users\\Ann\\Desktop\\";
const std::u16string kPrograms = u"C:\\Users\\Ann\\Start Menu\\Programs\\";
const std::vector<ProtectedFolder> kProtected = {
    {u"C:\\Windows", FolderGuard::inside}, {u"C:\\Users", FolderGuard::children}, {u"C:\\Program Files"}};

bool isInside(std::u16string_view path, const std::u16string& folder) {
  if (path.size() <= folder.size() || !equalsIgnoringAsciiCase(path.substr(0, folder.size()), folder)) return false;
  std::u16string_view rest = path.substr(folder.size());
  if (rest.back() == u'\\' || rest.back() == u'/') rest.remove_suffix(1);
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find_first_of(u"\\/", start);
    if (end == std::u16string_view::npos) end = rest.size();
    // A part Windows reads as no name (only dots and spaces) would reach the folder or its parent.
    const std::u16string_view part = rest.substr(start, end - start);
    if (part.find_first_not_of(u". ") == std::u16string_view::npos || part.find(u':') != std::u16string_view::npos) {
      return false;
    }
    start = end + 1;
  }
  return true;
}

void checkPath(const std::u16string& path, const std::u16string& appFolder) {
  if (isInside(path, appFolder)) return;
  // A folder record's path ends in a separator; what lies directly on the desktop has no other.
  std::u16string_view item = path;
  if (!item.empty() && (item.back() == u'\\' || item.back() == u'/')) item.remove_suffix(1);
  if (isInside(path, kDesktop) && item.find_first_of(u"\\/", kDesktop.size()) == std::u16string_view::npos) return;
  if (isInside(path, kPrograms) && !isInside(path, kPrograms + u"Startup\\")) return;
  std::abort();
}

std::u16string pathOf(const RecordPlace& place) {
  std::u16string path = place.root;
  for (const std::u16string& part : place.parts) path += part + u"\\";
  path.pop_back();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  LineListFile log;
  openBytes(log, std::string(reinterpret_cast<const char*>(data), size));
  UninstallLogHeader header;
  if (!readUninstallLogHeader(log, header)) return 0;
  if (isRefusedAppFolder(header.appFolder, kProtected, nullptr)) return 0;
  RemovalScope scope;
  scope.entryName = header.appName;
  scope.appFolder = addBackslash(header.appFolder);
  scope.desktopFolders = {kDesktop};
  scope.programsFolders = {kPrograms};
  scope.trust = LogTrust::entryWithoutDigest;

  RemovalSystem system;
  system.exists = [](const std::u16string&) { return true; };  // everything stays: every path is listed
  const std::u16string appFolder = scope.appFolder;
  system.removeFile = [appFolder](const RecordPlace& place, const LongNameCheck& check) {
    checkPath(pathOf(place), appFolder);
    if (check && !check(place)) std::abort();  // the same names pass the same rules
    return place.parts.size() % 3 != 0;  // some are reached through a link
  };
  system.removeFolder = system.removeFile;
  system.deleteValue = [](RegistryRoot, const std::u16string&, const std::u16string&) -> bool { std::abort(); };
  const std::u16string appName = header.appName;
  system.deleteKey = [appName](RegistryRoot, const std::u16string& subKey) {
    std::u16string_view key = subKey;
    if (!key.empty() && key.front() == u'\\') key.remove_prefix(1);
    if (!key.empty() && key.back() == u'\\') key.remove_suffix(1);
    const std::u16string_view base = kUninstallKeyBase;
    if (key.size() <= base.size() || !equalsIgnoringAsciiCase(key.substr(0, base.size()), base) ||
        key.find(u'\\', base.size()) != std::u16string_view::npos ||
        !equalsIgnoringAsciiCase(key.substr(base.size()), appName)) {
      std::abort();
    }
    return key.size() % 2 == 0;  // some entries stay
  };
  system.pruneEmptyKeys = [](RegistryRoot, const std::u16string&) {};
  const RemovalOutcome outcome = removeInstalledItems(log, scope, system, nullptr);
  for (const std::u16string& item : outcome.itemsLeft) {
    if (item.rfind(u"HKEY_", 0) != 0) checkPath(item, appFolder);  // registry records left are named by their keys
  }
  return 0;
}

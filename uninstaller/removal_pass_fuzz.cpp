// Carries out arbitrary bytes as an uninstall log, the way the uninstaller does, against a machine
// that only records, and checks what an edited log must never reach: every file or folder removed
// lies strictly inside the application folder or a shortcut folder, no part of its path climbs or
// is empty, and every key deleted is one entry of the list of installed programs.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/path_text.h"
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

void checkPlace(const std::u16string& path, const RemovalFolders& folders) {
  if (!isInside(path, folders.appFolder) && !isInside(path, kDesktop) && !isInside(path, kPrograms)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  LineListFile log;
  openBytes(log, std::string(reinterpret_cast<const char*>(data), size));
  UninstallLogHeader header;
  if (!readUninstallLogHeader(log, header)) return 0;
  if (isRefusedAppFolder(header.appFolder, kProtected, nullptr)) return 0;
  const RemovalFolders folders{addBackslash(header.appFolder), {kDesktop, kPrograms}};

  RemovalSystem system;
  system.exists = [](const std::u16string&) { return true; };  // everything stays: every path is listed
  system.isLink = [](const std::u16string& path) { return path.size() % 7 == 0; };
  system.removeFile = [&folders](const std::u16string& path) { checkPlace(path, folders); };
  system.removeFolder = [&folders](const std::u16string& path) { checkPlace(path, folders); };
  system.deleteValue = [](RegistryRoot, const std::u16string&, const std::u16string&) {};
  system.deleteKey = [](RegistryRoot, const std::u16string& subKey) {
    std::u16string_view key = subKey;
    if (!key.empty() && key.front() == u'\\') key.remove_prefix(1);
    if (!key.empty() && key.back() == u'\\') key.remove_suffix(1);
    const std::u16string_view base = kUninstallKeyBase;
    if (key.size() <= base.size() || !equalsIgnoringAsciiCase(key.substr(0, base.size()), base) ||
        key.find(u'\\', base.size()) != std::u16string_view::npos) {
      std::abort();
    }
  };
  system.pruneEmptyKeys = [](RegistryRoot, const std::u16string&) {};
  const RemovalOutcome outcome = removeInstalledItems(log, folders, system, nullptr);
  for (const std::u16string& path : outcome.itemsLeft) checkPlace(path, folders);
  return 0;
}

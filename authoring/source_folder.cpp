#include "authoring/source_folder.h"

#include <algorithm>
#include <system_error>

#include "authoring/path_utf8.h"

namespace averlune {
namespace {

namespace fs = std::filesystem;

bool writable(fs::perms permissions) {
  return (permissions & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) !=
         fs::perms::none;
}

}  // namespace

std::string scanSourceFolder(const fs::path& folder, SourceFolder& result) {
  result = {};
  std::error_code error;
  const fs::file_status status = fs::status(folder, error);
  if (error || !fs::exists(status)) return "the folder " + utf8Text(folder) + " does not exist";
  if (!fs::is_directory(status)) return utf8Text(folder) + " is not a folder";

  fs::recursive_directory_iterator it(folder, error);
  if (error) return "cannot list the folder " + utf8Text(folder) + ": " + error.message();
  const fs::recursive_directory_iterator end;
  for (; it != end; it.increment(error)) {
    if (error) return "cannot list the folder " + utf8Text(folder) + ": " + error.message();
    const fs::path& path = it->path();
    const std::string name = genericUtf8Text(path.lexically_relative(folder));
    const fs::file_status linkStatus = it->symlink_status(error);
    if (error) return "cannot inspect " + utf8Text(path) + ": " + error.message();
    const fs::file_status entryStatus = it->status(error);
    if (error || !fs::exists(entryStatus)) return "cannot read " + utf8Text(path) + ": the link leads nowhere";
    if (fs::is_directory(entryStatus)) {
      // The scan does not follow links to folders: a link could lead back up and never end.
      if (fs::is_symlink(linkStatus)) return utf8Text(path) + " is a link to a folder; copy the folder instead";
      result.subfolders.push_back(name);
      continue;  // the increment descends into it
    }
    if (!fs::is_regular_file(entryStatus)) return utf8Text(path) + " is neither a file nor a folder";
    SourceFile file;
    file.path = path;
    file.name = name;
    file.size = fs::file_size(path, error);
    if (error) return "cannot read " + utf8Text(path) + ": " + error.message();
    const auto modified = fileDosDateTime(path);
    if (!modified) return "cannot read the time of " + utf8Text(path);
    file.modified = *modified;
    file.attributes = kAttributeArchive;
    if (!writable(entryStatus.permissions())) file.attributes |= kAttributeReadOnly;
    result.files.push_back(std::move(file));
  }
  // An error while stepping past the last entry leaves the iterator at its end.
  if (error) return "cannot list the folder " + utf8Text(folder) + ": " + error.message();
  std::sort(result.files.begin(), result.files.end(),
            [](const SourceFile& a, const SourceFile& b) { return a.name < b.name; });
  std::sort(result.subfolders.begin(), result.subfolders.end());
  return {};
}

}  // namespace averlune

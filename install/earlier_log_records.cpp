#include "install/earlier_log_records.h"

#include <set>

#include "base/path_text.h"

namespace averlune {
namespace {

// One text per record, equal for records that name the same thing: Windows ignores case in paths and
// registry names, and a folder typed "C:\apps\tool" in one run and "C:\Apps\Tool" in the next
// holds the same files.
std::u16string identity(const UninstallRecord& record) {
  std::u16string text(1, static_cast<char16_t>(u'0' + static_cast<int>(record.kind)));
  for (const std::u16string* part : {&record.rootName, &record.path, &record.valueName}) {
    for (char16_t c : *part) text += asciiLower(c);
    text += u'\n';
  }
  return text;
}

std::string recordBytes(const UninstallRecord& record) {
  switch (record.kind) {
    case UninstallRecordKind::file: return uninstallFileRecord(record.path);
    case UninstallRecordKind::folder: return uninstallFolderRecord(record.path);
    case UninstallRecordKind::key: return uninstallKeyRecord(record.rootName, record.path);
    default: return uninstallValueRecord(record.rootName, record.path, record.valueName);
  }
}

}  // namespace

std::string withEarlierRecords(const std::string& ownRecords, const std::vector<UninstallRecord>& earlier) {
  if (earlier.empty()) return ownRecords;
  // Where the run's own records stand: every record it lists, the start of its first folder record
  // and the end of its last file or folder record.
  std::set<std::u16string> listed;
  std::size_t firstFolder = std::string::npos;
  std::size_t afterLastItem = 0;
  LineListFile own;
  openBytes(own, ownRecords);
  for (;;) {
    const std::size_t start = own.position;
    UninstallRecord record;
    if (!readUninstallRecord(own, record)) break;
    if (record.kind == UninstallRecordKind::folder && firstFolder == std::string::npos) firstFolder = start;
    if (record.kind == UninstallRecordKind::file || record.kind == UninstallRecordKind::folder) {
      afterLastItem = own.position;
    }
    listed.insert(identity(record));
  }
  if (firstFolder == std::string::npos) firstFolder = afterLastItem;

  std::string files;
  std::string folders;
  std::string registry;
  for (const UninstallRecord& record : earlier) {
    if (!listed.insert(identity(record)).second) continue;
    std::string& group = record.kind == UninstallRecordKind::file     ? files
                         : record.kind == UninstallRecordKind::folder ? folders
                                                                      : registry;
    group += recordBytes(record);
  }
  return ownRecords.substr(0, firstFolder) + files + ownRecords.substr(firstFolder, afterLastItem - firstFolder) +
         folders + ownRecords.substr(afterLastItem) + registry;
}

}  // namespace averlune

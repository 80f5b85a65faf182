#include "install/shortcuts.h"

#include "base/contained_path.h"

namespace averlune {

std::vector<ShortcutRecord> readShortcutList(LineListFile& list,
                                             const std::function<std::u16string(const std::u16string&)>& expand) {
  std::vector<ShortcutRecord> records;
  while (!atEnd(list)) {
    ShortcutRecord record;
    record.target = expand(readLine(list));
    record.name = expand(readLine(list));
    record.arguments = expand(readLine(list));
    records.push_back(std::move(record));
  }
  return records;
}

std::u16string shortcutWorkingFolder(const std::u16string& target) {
  const std::size_t start = (!target.empty() && target.front() == u'"') ? 1 : 0;
  std::size_t end = target.find(u'|', start);
  if (end == std::u16string::npos) end = target.size();
  if (end == start) return {};
  const std::size_t separator = target.find_last_of(u"\\/", end - 1);
  if (separator == std::u16string::npos || separator < start) return {};
  return target.substr(start, separator + 1 - start);
}

std::vector<ShortcutLink> shortcutLinks(const std::vector<ShortcutRecord>& records, const std::u16string& folder) {
  std::vector<ShortcutLink> links;
  for (const ShortcutRecord& record : records) {
    links.push_back({record.target, folder + record.name + u".lnk", shortcutWorkingFolder(record.target),
                     record.arguments});
  }
  return links;
}

StartMenuPlan startMenuPlan(const std::u16string& startMenuBase, const std::u16string& folderText) {
  StartMenuPlan plan;
  if (folderText.empty()) {
    plan.folder = startMenuBase;
    return plan;
  }
  const std::u16string text = folderText.back() == u'\\' ? folderText : folderText + u'\\';
  plan.folder = startMenuBase + text;
  if (!startMenuBase.empty() && isContainedRelativePath(text) &&
      text.find_first_not_of(u"\\ .") != std::u16string::npos) {
    plan.recordedFolder = plan.folder;
  }
  return plan;
}

}  // namespace averlune

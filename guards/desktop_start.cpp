#include "guards/desktop_start.h"

namespace averlune {

std::vector<DesktopStartWay> desktopStartWays(const DesktopStart& start) {
  if (start.file.empty()) return {};
  if (start.kind == DesktopStartKind::address) return {DesktopStartWay::desktopShell, DesktopStartWay::ownShell};
  return {DesktopStartWay::desktopShell, DesktopStartWay::ownProcess, DesktopStartWay::ownShell};
}

std::u16string desktopStartCommandLine(const DesktopStart& start) {
  std::u16string line = u'"' + start.file + u'"';
  if (!start.arguments.empty()) line += u' ' + start.arguments;
  return line;
}

std::u16string desktopStartLogLine(const DesktopStart& start, DesktopStartWay way) {
  std::u16string what = start.file;
  if (!start.arguments.empty()) what += u' ' + start.arguments;
  switch (way) {
    case DesktopStartWay::desktopShell: return u"started through the desktop's shell, as its user: " + what;
    case DesktopStartWay::ownProcess: return u"started as administrator, no desktop shell: " + what;
    case DesktopStartWay::ownShell: return u"opened as administrator, no desktop shell: " + what;
    case DesktopStartWay::none: break;
  }
  return u"not started: " + what;
}

bool isFullPath(const std::u16string& path) {
  const auto separator = [](char16_t c) { return c == u'\\' || c == u'/'; };
  const bool driveLetter = path.size() >= 3 && ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z')) &&
                           path[1] == u':' && separator(path[2]);
  const bool share = path.size() > 2 && path[0] == u'\\' && path[1] == u'\\' && !separator(path[2]);
  return driveLetter || share;
}

DesktopStart programStartOf(const std::u16string& text) {
  DesktopStart start;
  start.kind = DesktopStartKind::program;
  std::u16string path = text;
  if (!text.empty() && text.front() == u'"') {
    // The author quoted the path and may add arguments behind it. A missing closing quote leaves
    // the path running to the end of the text.
    const std::size_t closing = text.find(u'"', 1);
    path = text.substr(1, closing == std::u16string::npos ? std::u16string::npos : closing - 1);
    if (closing != std::u16string::npos) {
      const std::size_t arguments = text.find_first_not_of(u' ', closing + 1);
      if (arguments != std::u16string::npos) start.arguments = text.substr(arguments);
    }
  }
  if (!isFullPath(path)) return {DesktopStartKind::program, {}, {}, {}};
  start.file = path;
  start.folder = path.substr(0, path.find_last_of(u"\\/") + 1);
  return start;
}

}  // namespace averlune

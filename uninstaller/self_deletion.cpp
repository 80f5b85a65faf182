#include "uninstaller/self_deletion.h"

#include "base/path_text.h"

namespace averlune {
namespace {

// "X:\" at the start of `path`: its drive letter in lower case, or 0.
char16_t driveLetter(const std::u16string& path) {
  if (path.size() < 3 || path[1] != u':' || path[2] != kBackslash) return 0;
  const char16_t letter = asciiLower(path[0]);
  return letter >= u'a' && letter <= u'z' ? letter : 0;
}

// A "%" would be expanded on the command line wherever a second one followed it, and a command
// line has no escape for it inside double quotes.
bool canBeQuoted(const std::u16string& path) {
  if (path.empty()) return false;
  for (char16_t c : path) {
    if (c < 0x20 || c == u'"' || c == u'%') return false;
  }
  return true;
}

std::u16string quoted(const std::u16string& path) { return u"\"" + path + u"\""; }

}  // namespace

std::u16string leftoverFolderParent(const std::u16string& appFolder, const std::u16string& windowsTemp) {
  const char16_t drive = driveLetter(appFolder);
  if (drive == 0) return {};
  if (driveLetter(windowsTemp) == drive) return addBackslash(windowsTemp);
  return appFolder.substr(0, 3);
}

std::u16string selfDeleteCommand(const std::u16string& commandProcessor, const std::u16string& leftover,
                                 const std::u16string& ping) {
  for (const std::u16string* path : {&commandProcessor, &leftover, &ping}) {
    if (!canBeQuoted(*path)) return {};
  }
  const std::u16string file = quoted(leftover);
  // /D: no AutoRun command; /E:ON: "for /L"; /V:OFF: "!" stays itself; /S /C: the outer quotes
  // go, everything between them is the command. "del" fails while the uninstaller still runs. The
  // loop's body is one bracketed block: Wine's command processor ends the body at an "&" outside
  // brackets (Windows' does not) and misreads a bracketed block after "if" inside "for".
  return quoted(commandProcessor) + u" /D /E:ON /V:OFF /S /C \"for /L %i in (1,1,60) do (del " + file +
         u" 2>nul & if exist " + file + u" " + quoted(ping) + u" -n 2 127.0.0.1 >nul)\"";
}

}  // namespace averlune

#pragma once
// What the elevated programs start on the user's desktop: the program the author configured Finish
// to launch, and web or mail addresses (a licence link, the uninstaller's web site). Started with
// the administrator's token, that program or browser would hand an administrator's rights to
// whoever uses its Open dialog, and over-the-shoulder elevation puts it on a standard user's
// desktop. So a start is handed to the shell of the desktop, which runs it as the user signed in
// there; only where there is no shell desktop (Server Core, Wine without one) does the program
// start it itself, as before. This part decides; guards/desktop_start_win.h starts.
#include <string>
#include <vector>

namespace averlune {

enum class DesktopStartKind { program, address };

struct DesktopStart {
  DesktopStartKind kind = DesktopStartKind::address;
  std::u16string file;       // a program's full path or an address; empty: nothing starts
  std::u16string arguments;  // a program's arguments (its command line after the path); empty: none
  std::u16string folder;     // a program's working folder, ending in "\"; empty: the starter's own
};

// The ways a start can go, in the order desktopStartWays tries them.
enum class DesktopStartWay {
  desktopShell,  // the desktop's shell: runs as the user signed in to the desktop
  ownProcess,    // a process of the starter's own, with its token (programs only)
  ownShell,      // the starter's own shell: a document in its program, an address in the browser
  none,          // nothing was started
};

// The ways to try for `start`, first to last, until one starts it: the desktop's shell, then the
// starter's own ways (a program as a process, then through the shell, so that a document or folder
// opens; an address only through the shell, never as a program). None for an empty start.
std::vector<DesktopStartWay> desktopStartWays(const DesktopStart& start);

// A program's command line for a process of its own: the path in double quotes, then one space and
// the arguments when there are any.
std::u16string desktopStartCommandLine(const DesktopStart& start);

// The administrator's log line for `start` gone `way`.
std::u16string desktopStartLogLine(const DesktopStart& start, DesktopStartWay way);

// True for a full path that names its volume: "X:\" (or "X:/") and more, or "\\" followed by a
// server. Anything else ("tool.exe", "bin\tool.exe", "\tool.exe", "C:tool.exe") is resolved
// against a current folder or searched for, in folders a standard user may write to.
bool isFullPath(const std::u16string& path);

// How the expanded ProgramRun `text` starts: its path is the text, or what its leading double
// quotes hold, and then the author's arguments follow the closing quote; it works in the path's
// folder. `file` stays empty (nothing starts) when the path is empty or not a full path.
DesktopStart programStartOf(const std::u16string& text);

}  // namespace averlune

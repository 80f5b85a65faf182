#pragma once
// The uninstaller's main sequence: read the language copy and the log, ask, remove with the
// progress window up, close with a message, open the web site, start the self-deleting batch.
// With the silent request it removes without the question, the window, any message or the web
// site, and tells the result by its exit code.
//
// A log is trusted only as far as the administrator-only uninstall entry vouches for it, and the
// voucher is the entry whose UninstallString names this uninstaller, whatever the log's header
// names: a log whose digest differs from that entry's LogDigest is refused whole; without a
// LogDigest (an older setup) its value records are passed over; without such an entry only the
// records inside the uninstaller's own folder are carried out. The language copy is checked the
// same way against LanguageDigest before it is read.
//
// The sequence decides here; UninstallSystem carries out what it decides. The Windows build fills
// it with message boxes, the progress window, the removal thread and the system calls
// (run_uninstaller_win.cpp), host tests with recording fakes.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/exit_codes.h"
#include "config/key_value_file.h"
#include "config/line_list_file.h"
#include "config/uninstall_log.h"
#include "uninstaller/removal_pass.h"
#include "uninstaller/removal_rules.h"
#include "uninstaller/uninstall_texts.h"

namespace averlune {

// What the window shows: its title, the header band, the status line, the button, the exit
// question, and the progress bar's maximum.
struct UninstallWindowContent {
  std::u16string title;     // "Uninstall " and the application name
  std::u16string header;    // Header
  std::u16string subtitle;  // Header_b
  std::u16string status;    // Uninstalling, a space, the application name
  std::u16string cancel;    // Btn_cancel
  std::u16string exitQuestionTitle;
  std::u16string exitQuestion;
  // The bar's maximum: the log's entry count, or its file and folder records when there are more
  // (an upgrade carries over records of the version before, which the count leaves out).
  std::uint32_t progressMaximum = 0;
};

// The removal pass as the window runs it; it calls `progress` with the number of records passed
// so far, which the window shows on its bar.
using RemovalWork = std::function<RemovalOutcome(const std::function<void(std::uint32_t)>& progress)>;

// One entry of the list of installed programs: its key's last part and its UninstallString.
struct UninstallEntryText {
  std::u16string name;
  std::u16string uninstallString;
};

struct UninstallSystem {
  // Makes the uninstaller's folder the current folder, where its files are opened by their bare
  // names; false when it cannot (the folder it inherited is anybody's).
  std::function<bool()> enterOwnFolder;
  // The files next to the uninstaller, read by their bare names; false when missing or unreadable.
  std::function<bool(std::string& bytes)> readLanguageCopy;
  std::function<bool(LineListFile& file)> openLog;
  // Deletes uninstall.dat and uninstall_l.avl next to the uninstaller; failures are silent.
  std::function<void()> deleteLogAndLanguageCopy;

  // The folder that holds the uninstaller and its two files, ending in "\": the only folder a log
  // may name as its application folder. The uninstaller's own file, in its long form.
  std::u16string ownFolder;
  std::u16string ownFile;
  // Opens every folder of `folder`'s path from its root without following links and keeps them
  // open until the process ends, so that none of them can be renamed, removed or turned into a link
  // meanwhile. False when one of them is a link or cannot be opened.
  std::function<bool(const std::u16string& folder)> holdFolderWithoutLinks;
  // The folders an application folder may not be, and where the setup puts shortcuts.
  std::vector<ProtectedFolder> protectedFolders;
  FolderIdLookup folderId;
  std::vector<std::u16string> desktopFolders;
  std::vector<std::u16string> programsFolders;
  std::vector<std::u16string> shellFolders;  // Startup and Administrative Tools of the Programs folders
  RemovalSystem removal;

  // A file's digest (sha256Hex of its bytes); empty when it cannot be computed.
  std::function<std::u16string(const std::string& bytes)> fileDigest;
  // The entries of the list of installed programs under HKEY_LOCAL_MACHINE (this process's view).
  std::function<std::vector<UninstallEntryText>()> uninstallEntries;
  // A digest value (kLogDigestValueName, kLanguageDigestValueName) of the entry `entryName`:
  // nothing when the entry or the value is not there (an older setup's entry), the empty text when
  // it is there but cannot be read as text.
  std::function<std::optional<std::u16string>(const std::u16string& entryName, const std::u16string& valueName)>
      storedDigest;
  // Deletes both digest values, and the entry when nothing else is left in it; failures are silent.
  std::function<void(const std::u16string& entryName)> forgetDigests;

  // Modal message boxes: an error (error icon, OK), the question (question icon, Yes and No: true
  // for Yes), the closing message (no icon, OK).
  std::function<void(const std::u16string& title, const std::u16string& text)> showError;
  std::function<bool(const std::u16string& title, const std::u16string& text)> askYesNo;
  std::function<void(const std::u16string& title, const std::u16string& text)> showMessage;
  // Shows the progress window, runs `work` on the removal thread while the window stays
  // responsive, and returns its outcome once it has ended; the window stays up. The exit question
  // may end the process before that.
  std::function<RemovalOutcome(const UninstallWindowContent& content, const RemovalWork& work)> runWithWindow;
  std::function<void()> hideWindow;
  // Hands a web address to the shell to open; not waited for, failures silent.
  std::function<void(const std::u16string& address)> openWebAddress;
  // A line of the administrator's log (/LOG=): why a log was refused, every item removed or left.
  // Does nothing when no log was asked for.
  std::function<void(const std::u16string& line)> note;
  // startSelfDeletion: moves the uninstaller out of the application folder, removes the folder
  // when it is empty (queues it after them when all it holds is among `deletedAtRestart`), and
  // leaves the moved file to a command that names nothing else.
  std::function<void(const std::u16string& appFolder, const std::vector<std::u16string>& deletedAtRestart)>
      startSelfDeletion;
};

// The whole sequence. Returns the exit code (uninstallExitCode: success on every path with a window).
ExitCode runUninstallSteps(const UninstallSystem& system, bool silent);

// The window's content for these texts, this log header and the bar's maximum.
UninstallWindowContent uninstallWindowContent(const UninstallTexts& texts, const UninstallLogHeader& header,
                                              std::uint32_t progressMaximum);

}  // namespace averlune

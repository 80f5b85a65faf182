#pragma once
// The installation run: everything the setup does between entering the installing page and
// showing the finish page, in a fixed order: publish the run's environment variables, create the
// application folder, write the uninstaller and open the uninstall log, extract the payload
// archive, register the uninstaller, make the shortcuts, write the registry list, show the finish
// page.
//
// The run decides here; InstallationSystem carries out what it decides. Its inputs are the state:
// the options, the folders and the user's choices, which the main thread copied in before the
// run started. Windows fills the record in two halves: the system calls
// (install/installation_run_win.h) and the reports to the user, which the wizard turns into
// messages to its window; host tests fill it with recording fakes.
#include <cstdint>
#include <functional>
#include <string>

#include "config/setup_state.h"
#include "config/system_lookup.h"
#include "install/payload_archive_reader.h"
#include "install/registry_list.h"
#include "install/shortcuts.h"
#include "install/uninstall_registration.h"

namespace averlune {

// The language texts the run shows.
struct InstallationTexts {
  std::u16string extracting;            // Installing.Text2: above the path of the entry being extracted
  std::u16string finished;              // Installing.Text3: once extraction is over
  std::u16string couldNotExtractTitle;  // Messages.CouldNotExtractFileH
  std::u16string couldNotExtract;       // Messages.CouldNotExtractFile
};

enum class ExtractionChoice { abort, retry, ignore };

struct InstallationSystem {
  // What the run tells the user. It waits for each call to be done, so the order of the calls is
  // the order on screen.
  std::function<void(const std::u16string& text)> setStatus;
  std::function<void(int maximum)> setProgressMaximum;
  std::function<void(int position)> setProgress;
  std::function<void()> showFinishPage;
  std::function<void(const std::u16string& title, const std::u16string& text)> showError;
  std::function<ExtractionChoice(const std::u16string& title, const std::u16string& text)> askAfterFailedExtraction;
  // Asks for the end of the whole setup run after a fatal failure or an Abort. The run stops
  // right after it; the end itself is carried out elsewhere (on the main thread, in the setup).
  std::function<void(bool removeWorkFolder)> endRun;

  // What the run does to the system.
  std::function<void(const std::u16string& name, const std::u16string& value)> setEnvironmentVariable;
  std::function<std::u16string()> userName;
  std::function<bool(const std::u16string& folder)> makeFolderPath;
  std::function<bool(const std::u16string& path)> folderExists;
  // Creates the application folder with its missing parents and takes it for the run: the payload
  // and the uninstaller's files are written only in it and in folders below it, never through a
  // link. False when it cannot be made or is no plain folder.
  std::function<bool(const std::u16string& folder)> makeApplicationFolder;

  // The uninstaller's files. Failures are silent; createLog reports whether there is a log to
  // append to. closeLog stores the digest of the whole log under `digestKey` (below
  // HKEY_LOCAL_MACHINE), where the uninstaller checks it; an empty key stores it nowhere. The run
  // closes the log before it ends, whichever way; closeLog may also be called from another thread
  // (the user cancels) and then ends the appending for good.
  std::function<void(const std::u16string& path)> writeUninstallerImage;
  std::function<void(const std::u16string& from, const std::u16string& to)> copyFile;
  std::function<bool(const std::u16string& path, const std::string& header, const std::u16string& digestKey)>
      createLog;
  std::function<void(const std::string& record)> appendLog;
  std::function<void()> closeLog;
  // The digest closeLog stores, of `bytes`; and the digest stored under `digestKey`, empty when
  // there is none.
  std::function<std::u16string(const std::string& bytes)> logDigest;
  std::function<std::u16string(const std::u16string& digestKey)> storedLogDigest;
  std::function<void(const UninstallRegistration& registration)> registerUninstaller;

  std::function<void(const ShortcutLink& link)> createShortcut;
  std::function<void(const RegistryListEntry& entry)> writeRegistryEntry;

  SystemLookup lookup;           // for placeholder expansion
  PayloadFileSystem fileSystem;  // for the payload archive in state.ownFile
};

// The run, steps 1 to 16. Returns after the finish page was shown, or after endRun on a fatal
// failure or an Abort. Reads the state and adds to its installationList; nothing else in it changes.
void runInstallationSteps(SetupState& state, const InstallationTexts& texts, const InstallationSystem& system);

// "Text2", a line feed and the entry's path, as the status label shows it.
std::u16string extractionStatusText(const InstallationTexts& texts, const std::u16string& appFolder,
                                    const std::u16string& entryName);

// The extraction failure message: the text, a line feed and the file part of the entry name.
std::u16string extractionFailureText(const InstallationTexts& texts, const std::u16string& entryName);

}  // namespace averlune

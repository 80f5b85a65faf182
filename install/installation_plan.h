#pragma once
// The installation as a plan: everything the run does, decided once from data before anything is
// written. For each payload entry its target path (or why it has none), its status line, its
// question after a failure and the uninstall log record it leaves; the uninstaller's files; the
// uninstall entry; the shortcuts; the registry values; and every log record in the order the log
// gets them.
//
// The facts come from the Windows edge, gathered after the application folder was made and before
// anything is written into it (install/installation_run_win.h); the plan is carried out there by a
// short loop that extracts, asks after a failure and appends the planned records.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/setup_state.h"
#include "base/system_lookup.h"
#include "config/uninstall_log.h"
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

// What the plan is decided from, beside the state.
struct InstallationFacts {
  PayloadListing payload;
  // Whether a folder was there before the run wrote anything.
  std::function<bool(const std::u16string& folder)> folderExisted;
  // An earlier installation's log in the application folder, with its digest, and the digest this
  // application's uninstall entry holds (empty when there is none). The log speaks for this
  // application only when the two match: only administrators can write the entry, and a log planted
  // in the folder must not make the run claim (and the uninstaller later empty) someone's folders.
  std::optional<std::string> earlierLog;
  std::u16string earlierLogDigest;
  std::u16string storedLogDigest;
  // Desktop.dat, Startmenu.dat and Registry.dat of the work folder; none when unreadable.
  std::optional<std::string> desktopList;
  std::optional<std::string> startMenuList;
  std::optional<std::string> registryList;
  SystemLookup lookup;  // for placeholder expansion
};

// One payload entry as the run extracts it: `info` says where its header stands in the archive, so
// the entry is found there whatever was extracted before it.
struct PlannedEntry {
  PayloadEntryInfo info;
  bool folder = false;  // a folder entry: the folder is made, nothing is written
  // Where the entry goes, ending in "\" for a folder; empty when nothing may be written (no name,
  // a name cut for its length, a name that would leave the application folder).
  std::u16string path;
  std::string record;  // the uninstall log's record of the file; may be empty
  // The record of a folder the entry makes, logged after every entry's file record so that the
  // folder is removed after the files in it; may be empty.
  std::string folderRecord;
};

// The uninstaller's three files, written before the payload.
struct PlannedUninstaller {
  std::u16string imagePath;
  std::u16string languageFile;  // the language file in use, copied to languageCopy
  std::u16string languageCopy;
  std::u16string logPath;
  std::string logHeader;
  std::u16string digestKey;  // where the log's digest is stored; empty: nowhere
};

struct PlannedLink {
  ShortcutLink link;
  std::string record;  // may be empty
};

struct PlannedValue {
  RegistryListEntry entry;
  std::string record;  // may be empty
};

struct InstallationPlan {
  InstallationTexts texts;
  std::u16string appFolder;  // ends in "\"
  std::optional<PlannedUninstaller> uninstaller;
  int progressMaximum = 0;
  std::vector<PlannedEntry> entries;
  // What an earlier installation of this application recorded, when this application's uninstall
  // entry vouches for its log in the application folder: carried into the new log (see
  // logRecordsAfter). Empty otherwise.
  std::vector<UninstallRecord> earlierRecords;

  // Once extraction is over, after the entries' folder records: the uninstall entry, whose
  // estimated size the run fills in from what it extracted.
  std::optional<UninstallRegistration> registration;
  std::string registrationRecord;

  std::vector<PlannedLink> desktopLinks;
  std::u16string startMenuFolder;  // made before its links; empty when there are none
  std::vector<PlannedLink> startMenuLinks;
  std::string startMenuRecords;  // after every start menu link was made
  std::vector<PlannedValue> registryValues;
};

// The four environment variables the run publishes first, as name and value, in order. Placeholders
// of the lists read them, so they are set before the plan is made.
std::vector<std::pair<std::u16string, std::u16string>> installationEnvironment(const SetupState& state,
                                                                                 const std::u16string& userName);

// The status line while the entry is extracted: "Text2", a line feed and the entry's name below the
// application folder, as the archive spells it.
std::u16string extractionStatus(const InstallationPlan& plan, const PlannedEntry& entry);

// The question after the entry failed: the text, a line feed and the file part of its name; empty
// for an entry without a name, whose failure passes unasked.
std::u16string extractionQuestion(const InstallationPlan& plan, const PlannedEntry& entry);

InstallationPlan planInstallation(const SetupState& state, const InstallationTexts& texts,
                                  InstallationFacts facts);

// The records the uninstall log gets when it is closed, once the run has gone through the first
// `entriesDone` entries (extracted, or failed and passed over), whether it ends normally, by Abort or
// by Cancel. Each of those entries' file record was appended as the entry was done (a run that ends
// half-way leaves a complete log); the closing records are their folder records, then, when that
// was every entry, the uninstall entry's record, the desktop links', the start menu's and the
// registry values'. The earlier installation's records that the log does not repeat are carried in
// (withEarlierRecords): a run stopped half-way has not yet replaced what the earlier version wrote.
std::string logRecordsAfter(const InstallationPlan& plan, std::size_t entriesDone);

}  // namespace averlune

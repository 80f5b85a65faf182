#pragma once
// The installation's log for administrators: each thing the run does to the system and each
// failure the user is told of, as one plain-text line, written as it happens.
#include <functional>
#include <string>

#include "install/installation_reports.h"
#include "install/payload_archive_reader.h"
#include "install/registry_list.h"
#include "install/shortcuts.h"

namespace averlune {

using LogLine = std::function<void(const std::u16string& line)>;

// Makes `reports` write a line through `writeLine` for every report to the user, before handing
// the report on (answers are logged after them), and for every note of the run.
void logInstallation(InstallationReports& reports, const LogLine& writeLine);

// The line the run notes when an entry could not be extracted: its name, what went wrong and the
// archive library's code, which only an administrator's log has use for.
std::u16string extractionFailureLogLine(const std::u16string& entryName, const PayloadExtractionResult& result);

// The lines the run notes for a link and a registry value it writes.
std::u16string linkLogLine(const ShortcutLink& link);
std::u16string registryValueLogLine(const RegistryListEntry& entry);

}  // namespace averlune

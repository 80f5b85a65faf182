#pragma once
// Writes the payload archive: the ZIP archive with the application's files that the setup extracts
// into the application folder.
#include <cstdint>
#include <filesystem>
#include <string>

#include "authoring/build_progress.h"
#include "authoring/source_folder.h"

namespace averlune {

// The payload archive is a plain ZIP (no ZIP64 records) whose length the container stores in 32
// bits, so no file in it can reach 4 GiB.
constexpr std::uint64_t kPayloadMaxFileBytes = 0xFFFFFFFF;

// Writes `application` to `archive` (created or replaced) as a plain ZIP archive, in this order:
//   1. an entry with an empty name, stored, external attributes 0x10;
//   2. one entry per file, deflated, or stored when deflating does not make it smaller, named by
//      its relative path with "/", stamped with its local DOS time, its Windows attributes in the
//      low byte of the external attributes;
//   3. one entry "sub/folder/" per subfolder, external attributes 0x10, the deepest folders
//      first: the setup records these folders for the uninstaller in this order, and the
//      uninstaller can remove a folder only after the folders inside it.
// Files are compressed on every processor with the builder's memory bounded whatever their number
// and size; the archive is the same whatever the number of processors.
// Names are stored in the OEM code page that the setup reads them in, or flagged as UTF-8 where that
// page cannot hold them (see code_page_names.h).
// `report`, when given, hears of each file once it is written, in order.
// Empty on success, otherwise a one-line reason; on failure `archive` may hold a partial file,
// which the caller removes.
std::string writePayloadArchive(const SourceFolder& application, const std::filesystem::path& archive,
                                const PackingProgressReport& report = {});

}  // namespace averlune

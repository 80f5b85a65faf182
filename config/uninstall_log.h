#pragma once
// The uninstall log, uninstall.dat: the contract between the setup and the uninstaller. Texts are
// UTF-8 without byte-order mark, each followed by CR LF; numbers are 4 bytes little-endian.
//
//   07 00 00 00, Appname, Version, web site (or empty), application folder ("\" at the end),
//   entry count of the payload archive (4 bytes), then records until the end of the file:
//   "#DF" path | "#DD" folder\ | "#DRK" root, sub key | "#DRV" root, sub key\, value name
//
// The writer side builds bytes; writing them is the caller's (one write per record, so a run that
// ends half-way leaves a log that is complete up to its last record). The reader side parses a log
// that may have been edited by anyone: it never fails on odd bytes, it only reports what it found.
#include <cstdint>
#include <string>
#include <vector>

#include "config/line_list_file.h"

namespace averlune {

constexpr std::uint32_t kUninstallLogFormat = 7;
constexpr char16_t kUninstallLogName[] = u"uninstall.dat";
constexpr char16_t kUninstallLanguageName[] = u"uninstall_l.avl";

// The key record names the program's entry in the Windows list of installed programs: this root
// and this base followed by the application name.
constexpr char16_t kUninstallRootName[] = u"HKEY_LOCAL_MACHINE";
constexpr char16_t kUninstallKeyBase[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
// The uninstall entry's REG_SZ value holding the SHA-256 digest (lower-case hexadecimal) of the
// whole uninstall.dat as the setup closed it. Only administrators can write the entry, so the
// uninstaller trusts a log only as far as it matches; an entry without it is an older setup's.
constexpr char16_t kLogDigestValueName[] = u"LogDigest";
// The entry's REG_SZ value holding the SHA-256 digest (the same form) of uninstall_l.avl as the
// setup wrote it; the uninstaller reads the copy's texts only when it matches. An entry without it
// is an older setup's. The entry that vouches for both files is the one whose UninstallString names
// the uninstaller, whatever the log's header names.
constexpr char16_t kLanguageDigestValueName[] = u"LanguageDigest";

struct UninstallLogHeader {
  std::u16string appName;
  std::u16string version;
  std::u16string webSite;    // Website when Uninstaller_VW is 1, otherwise empty
  std::u16string appFolder;  // ends in "\"
  std::uint32_t entryCount = 0;
};

std::string uninstallLogHeaderBytes(const UninstallLogHeader& header);
std::string uninstallFileRecord(const std::u16string& path);
std::string uninstallFolderRecord(const std::u16string& folder);
std::string uninstallKeyRecord(const std::u16string& rootName, const std::u16string& subKey);
std::string uninstallValueRecord(const std::u16string& rootName, const std::u16string& subKey,
                                 const std::u16string& valueName);

enum class UninstallRecordKind { file, folder, key, value };

struct UninstallRecord {
  UninstallRecordKind kind = UninstallRecordKind::file;
  std::u16string rootName;  // key and value records
  std::u16string path;      // file path, folder path ("\" at the end) or sub key
  std::u16string valueName; // value records
};

// Reads the format mark and the header from the start of `log`; false when the mark is not
// kUninstallLogFormat (nothing else is checked: an empty text stays empty). The reader is left at
// the first record, so a header text that looks like a marker ("#DF") is never taken for one.
bool readUninstallLogHeader(LineListFile& log, UninstallLogHeader& header);

// The next record at or after the reader's position; lines that are no marker are passed over.
// False at the end of the log. A record cut short by the end of the file has empty fields.
bool readUninstallRecord(LineListFile& log, UninstallRecord& record);

}  // namespace averlune

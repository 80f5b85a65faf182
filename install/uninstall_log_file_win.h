#pragma once
// The uninstall log while the installation appends to it, and its digest when it is closed.
//
// The uninstaller trusts the log only as far as its SHA-256 digest matches the one kept in the
// application's uninstall entry under HKEY_LOCAL_MACHINE (kLogDigestValueName), which only
// administrators can write. The log keeps every byte it wrote in memory, so the digest is of
// exactly what the setup wrote, whatever happens to the file meanwhile.
//
// Each record is one unbuffered write, and the records the run gives for closing one more: a run
// that ends half-way leaves a log that is complete up to its last record. The installation thread creates and appends; closing may come from the main thread as well (the
// user cancels while records are being appended): every operation takes the holder's lock, and a
// closed log stays closed, so nothing is appended after its digest was taken.
#include <windows.h>

#include <functional>
#include <string>

#include "base/owned_handle_win.h"
#include "install/held_folders_win.h"

namespace averlune {

struct UninstallLogFile {
  UninstallLogFile() { InitializeCriticalSection(&lock); }
  ~UninstallLogFile() { DeleteCriticalSection(&lock); }
  UninstallLogFile(const UninstallLogFile&) = delete;
  UninstallLogFile& operator=(const UninstallLogFile&) = delete;

  CRITICAL_SECTION lock;
  OwnedHandle file;
  std::string written;       // every byte in the file, in order
  std::u16string digestKey;  // below HKEY_LOCAL_MACHINE; empty: the digest is stored nowhere
  std::u16string languageDigest;  // of the language copy the setup wrote beside the log; empty: none
  // The records the log gets when it is closed, whoever closes it; called under the lock. May be empty.
  std::function<std::string()> closingRecords;
  bool closed = false;
};

// Creates the log at `place` as a protected file (guards/protected_file_win.h) beginning with
// `header`, to be appended to; `closingRecords` gives what is appended when it is closed. False when
// it cannot be created (no held folder, a name that cannot be replaced), or when the log was closed
// already.
bool createUninstallLog(UninstallLogFile& log, const PlaceInHeldFolder& place, const std::string& header,
                        const std::u16string& digestKey, std::function<std::string()> closingRecords = {});

// Appends one record; lost when the log is not open. Only bytes that reached the file count
// towards the digest.
void appendUninstallLog(UninstallLogFile& log, const std::string& record);

// Keeps the digest of the language copy's bytes, to be stored beside the log's. Kept whether or not
// the copy could be written: a copy the setup did not write then fails the uninstaller's check.
void keepLanguageDigest(UninstallLogFile& log, const std::string& languageCopy);

// Appends the closing records, closes the log and stores the digest of what it holds, and the language copy's, as REG_SZ under
// its digest key (kLogDigestValueName, kLanguageDigestValueName), creating the key when needed.
// Only the first call acts.
void closeUninstallLog(UninstallLogFile& log);

}  // namespace averlune

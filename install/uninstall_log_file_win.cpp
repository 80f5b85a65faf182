#include "install/uninstall_log_file_win.h"

#include "guards/protected_file_win.h"
#include "base/registry_win.h"
#include "guards/sha256_win.h"
#include "config/uninstall_log.h"

namespace averlune {
namespace {

class Locked {
 public:
  explicit Locked(CRITICAL_SECTION& lock) : lock_(lock) { EnterCriticalSection(&lock_); }
  ~Locked() { LeaveCriticalSection(&lock_); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  CRITICAL_SECTION& lock_;
};

void writeBytes(UninstallLogFile& log, const std::string& bytes) {
  DWORD written = 0;
  WriteFile(log.file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);  // lost when it fails
  log.written.append(bytes, 0, written);
}

void storeDigests(const std::u16string& key, const std::u16string& logDigest, const std::u16string& languageDigest) {
  // No entry can hold them when the key cannot be made: the uninstaller then finds the digests
  // missing or stale.
  if (!createKey(RegistryRoot::localMachine, key)) return;
  writeStringValue(RegistryRoot::localMachine, key, kLogDigestValueName, logDigest);
  if (!languageDigest.empty()) writeStringValue(RegistryRoot::localMachine, key, kLanguageDigestValueName, languageDigest);
}

}  // namespace

bool createUninstallLog(UninstallLogFile& log, const PlaceInHeldFolder& place, const std::string& header,
                        const std::u16string& digestKey, std::function<std::string()> closingRecords) {
  const Locked locked(log.lock);
  if (log.closed || !place.folder) return false;
  log.file = writeProtectedFile(place.folder, place.name, header);
  if (!log.file) return false;
  log.digestKey = digestKey;
  log.closingRecords = std::move(closingRecords);
  log.written = header;
  return true;
}

void appendUninstallLog(UninstallLogFile& log, const std::string& record) {
  const Locked locked(log.lock);
  if (log.file) writeBytes(log, record);
}

void keepLanguageDigest(UninstallLogFile& log, const std::string& languageCopy) {
  const Locked locked(log.lock);
  log.languageDigest = sha256Hex(languageCopy);
}

void closeUninstallLog(UninstallLogFile& log) {
  const Locked locked(log.lock);
  if (log.closed) return;
  log.closed = true;
  if (!log.file) return;
  if (log.closingRecords) {
    const std::string records = log.closingRecords();
    if (!records.empty()) writeBytes(log, records);
  }
  log.file.reset();
  if (log.digestKey.empty()) return;
  const std::u16string digest = sha256Hex(log.written);
  // Without a provider the old digests stay and refuse the log.
  if (!digest.empty()) storeDigests(log.digestKey, digest, log.languageDigest);
}

}  // namespace averlune

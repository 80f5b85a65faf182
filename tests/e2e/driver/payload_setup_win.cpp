#include "tests/e2e/driver/payload_setup_win.h"

#include <zip.h>

#include <filesystem>

namespace averlune::e2e {
namespace {

namespace fs = std::filesystem;

bool addEntry(zipFile zip, const PayloadEntry& entry) {
  zip_fileinfo info{};
  info.tmz_date.tm_year = static_cast<unsigned>(entry.year);
  info.tmz_date.tm_mon = static_cast<unsigned>(entry.month - 1);
  info.tmz_date.tm_mday = static_cast<unsigned>(entry.day);
  info.tmz_date.tm_hour = static_cast<unsigned>(entry.hour);
  info.tmz_date.tm_min = static_cast<unsigned>(entry.minute);
  info.tmz_date.tm_sec = static_cast<unsigned>(entry.second);
  info.external_fa = entry.externalAttributes;
  const bool folder = entry.name.empty() || entry.name.back() == '/';
  const int method = folder ? 0 : Z_DEFLATED;
  const int level = folder ? 0 : Z_DEFAULT_COMPRESSION;
  const uLong flags = entry.utf8Name ? 0x0800 : 0;
  if (zipOpenNewFileInZip4(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method, level, 0, -MAX_WBITS,
                           8, Z_DEFAULT_STRATEGY, nullptr, 0, 0, flags) != ZIP_OK) {
    return false;
  }
  bool ok = true;
  if (!entry.data.empty()) {
    ok = zipWriteInFileInZip(zip, entry.data.data(), static_cast<unsigned>(entry.data.size())) == ZIP_OK;
  }
  return zipCloseFileInZip(zip) == ZIP_OK && ok;
}

}  // namespace

bool writePayloadZip(const std::wstring& archive, const std::vector<PayloadEntry>& entries) {
  // minizip opens its file by an 8-bit name; the scratch folders have plain ASCII paths.
  const std::string path = fs::path(archive).string();
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  if (!zip) return false;
  bool ok = true;
  for (const PayloadEntry& entry : entries) ok = addEntry(zip, entry) && ok;
  return zipClose(zip, nullptr) == ZIP_OK && ok;
}

}  // namespace averlune::e2e

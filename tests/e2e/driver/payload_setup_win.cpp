#include "tests/e2e/driver/payload_setup_win.h"

#include <zip.h>

#include <filesystem>
#include <iostream>

#include "authoring/cabinet_writer.h"
#include "authoring/setup_file_writer.h"

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
  if (zipOpenNewFileInZip(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method, level) != ZIP_OK) {
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

std::wstring buildSetupWithPayload(const std::wstring& testName, const std::vector<ConfigFile>& config,
                                   const std::wstring& archive) {
  std::vector<CabinetEntry> entries;
  for (const ConfigFile& file : config) {
    CabinetEntry entry;
    entry.name = file.name;
    entry.data.assign(file.bytes.begin(), file.bytes.end());
    entry.modified = DosDateTime{0x5A21, 0x6000};  // 2025-01-01 12:00
    entries.push_back(entry);
  }
  std::vector<std::uint8_t> cabinet;
  std::string error = buildCabinet(entries, cabinet);
  const fs::path output = fs::path(archive).parent_path() / (testName + L"-setup.exe");
  if (error.empty()) error = writeSetupFile({fs::path(bareSetupProgram()), cabinet, fs::path(archive)}, output);
  if (!error.empty()) {
    std::cerr << "cannot build the test setup: " << error << "\n";
    return {};
  }
  return output.wstring();
}

}  // namespace averlune::e2e

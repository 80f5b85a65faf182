#include "config/uninstall_log.h"

#include "base/text_decoding.h"

namespace averlune {
namespace {

void appendLine(std::string& bytes, const std::u16string& text) {
  bytes += encodeUtf8(text);
  bytes += "\r\n";
}

void appendNumber(std::string& bytes, std::uint32_t number) {
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((number >> shift) & 0xFF);
}

}  // namespace

std::string uninstallLogHeaderBytes(const UninstallLogHeader& header) {
  std::string bytes;
  appendNumber(bytes, kUninstallLogFormat);
  appendLine(bytes, header.appName);
  appendLine(bytes, header.version);
  appendLine(bytes, header.webSite);
  appendLine(bytes, header.appFolder);
  appendNumber(bytes, header.entryCount);
  return bytes;
}

std::string uninstallFileRecord(const std::u16string& path) {
  std::string bytes;
  appendLine(bytes, u"#DF");
  appendLine(bytes, path);
  return bytes;
}

std::string uninstallFolderRecord(const std::u16string& folder) {
  std::string bytes;
  appendLine(bytes, u"#DD");
  appendLine(bytes, folder);
  return bytes;
}

std::string uninstallKeyRecord(const std::u16string& rootName, const std::u16string& subKey) {
  std::string bytes;
  appendLine(bytes, u"#DRK");
  appendLine(bytes, rootName);
  appendLine(bytes, subKey);
  return bytes;
}

std::string uninstallValueRecord(const std::u16string& rootName, const std::u16string& subKey,
                                 const std::u16string& valueName) {
  std::string bytes;
  appendLine(bytes, u"#DRV");
  appendLine(bytes, rootName);
  appendLine(bytes, subKey);
  appendLine(bytes, valueName);
  return bytes;
}

bool readUninstallLogHeader(LineListFile& log, UninstallLogHeader& header) {
  header = UninstallLogHeader();
  // A file shorter than the mark is no log, even though its missing bytes would read as zeros.
  if (log.bytes.size() - log.position < 4 || readUInt32(log) != kUninstallLogFormat) return false;
  header.appName = readLine(log);
  header.version = readLine(log);
  header.webSite = readLine(log);
  header.appFolder = readLine(log);
  header.entryCount = readUInt32(log);
  return true;
}

bool readUninstallRecord(LineListFile& log, UninstallRecord& record) {
  record = UninstallRecord();
  while (!atEnd(log)) {
    const std::u16string marker = readLine(log);
    if (marker == u"#DF" || marker == u"#DD") {
      record.kind = marker == u"#DF" ? UninstallRecordKind::file : UninstallRecordKind::folder;
      record.path = readLine(log);
      return true;
    }
    if (marker == u"#DRK" || marker == u"#DRV") {
      record.kind = marker == u"#DRK" ? UninstallRecordKind::key : UninstallRecordKind::value;
      record.rootName = readLine(log);
      record.path = readLine(log);
      if (record.kind == UninstallRecordKind::value) record.valueName = readLine(log);
      return true;
    }
  }
  return false;
}

}  // namespace averlune

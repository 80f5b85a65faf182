#include "install/uninstall_log.h"

#include "config/text_decoding.h"

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

UninstallLogHeader uninstallLogHeader(const SetupOptions& options, const std::u16string& appFolder,
                                      std::uint32_t entryCount) {
  UninstallLogHeader header;
  header.appName = options.Appname;
  header.version = options.Version;
  if (options.Uninstaller_VW == 1) header.webSite = options.Website;
  header.appFolder = appFolder;
  header.entryCount = entryCount;
  return header;
}

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

}  // namespace averlune

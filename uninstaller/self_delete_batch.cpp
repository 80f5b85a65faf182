#include "uninstaller/self_delete_batch.h"

namespace averlune {
namespace {

bool canBeQuoted(const std::u16string& path) {
  for (char16_t c : path) {
    if (c < 0x20 || c == u'"') return false;
  }
  return true;
}

std::string doublePercents(const std::string& text) {
  std::string result;
  for (char c : text) {
    result += c;
    if (c == '%') result += '%';
  }
  return result;
}

// The three paths as the batch names them: OEM text between double quotes, or a reference to an
// environment variable.
struct BatchPaths {
  std::string uninstaller, appFolder, batch, ping;
};

std::optional<BatchPaths> pathsInOem(const std::u16string& uninstaller, const std::u16string& appFolder,
                                     const std::u16string& batch, const std::u16string& ping,
                                     const OemEncoder& toOem) {
  const auto u = toOem(uninstaller);
  const auto f = toOem(appFolder);
  const auto b = toOem(batch);
  const auto p = toOem(ping);
  if (!u || !f || !b || !p) return std::nullopt;
  return BatchPaths{doublePercents(*u), doublePercents(*f), doublePercents(*b), doublePercents(*p)};
}

}  // namespace

SelfDeleteBatch selfDeleteBatch(const std::u16string& uninstaller, const std::u16string& appFolder,
                                const std::u16string& batch, const std::u16string& ping, const OemEncoder& toOem) {
  SelfDeleteBatch result;
  for (const std::u16string* path : {&uninstaller, &batch, &ping}) {
    if (path->empty() || !canBeQuoted(*path)) return result;
  }
  const std::u16string folder = canBeQuoted(appFolder) ? appFolder : std::u16string();

  BatchPaths paths;
  if (auto oem = pathsInOem(uninstaller, folder, batch, ping, toOem)) {
    paths = *oem;
  } else {
    result.environment = {{u"AV_UNINSTALL_PROGRAM", uninstaller},
                          {u"AV_UNINSTALL_FOLDER", folder},
                          {u"AV_UNINSTALL_BATCH", batch},
                          {u"AV_UNINSTALL_PING", ping}};
    paths = {"%AV_UNINSTALL_PROGRAM%", "%AV_UNINSTALL_FOLDER%", "%AV_UNINSTALL_BATCH%", "%AV_UNINSTALL_PING%"};
  }
  const std::string u = "\"" + paths.uninstaller + "\"";
  std::string& text = result.bytes;
  auto line = [&text](const std::string& content) { text += content + "\r\n"; };
  line("@echo off");
  // "!" in a path would be eaten where delayed expansion is switched on for every batch.
  line("setlocal DisableDelayedExpansion");
  line("cd \\");
  line("set /a tries=0");
  line(":DeleteFile");
  line("del " + u);
  line("if not exist " + u + " goto DeleteFolder");
  line("set /a tries+=1");
  line("if %tries% geq 60 goto DeleteFolder");
  line("\"" + paths.ping + "\" -n 2 127.0.0.1 >nul");  // about one second, on every Windows version
  line("goto DeleteFile");
  line(":DeleteFolder");
  if (!folder.empty()) line("rd \"" + paths.appFolder + "\"");
  line("del \"" + paths.batch + "\" & exit");
  return result;
}

}  // namespace averlune

#include "uninstaller/self_delete_batch_win.h"

#include <windows.h>
#include <shellapi.h>

#include "config/own_file_win.h"
#include "config/temporary_names_win.h"
#include "config/whole_file_win.h"
#include "config/wide_text_win.h"
#include "uninstaller/self_delete_batch.h"

namespace averlune {
namespace {

// The text in the OEM code page, when every character has an exact form there: no best-fit
// look-alikes, and it must read back as it was.
std::optional<std::string> toOemCodePage(const std::u16string& text) {
  if (text.empty()) return std::string();
  const int length = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  const int size = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide(text), length, nullptr, 0, nullptr,
                                       &usedDefault);
  if (size <= 0 || usedDefault) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide(text), length, &bytes[0], size, nullptr, &usedDefault);
  if (usedDefault) return std::nullopt;
  std::wstring back(static_cast<std::size_t>(size), L'\0');
  const int backLength = MultiByteToWideChar(CP_OEMCP, 0, bytes.data(), size, &back[0], size);
  if (fromWide(back.data(), static_cast<std::size_t>(backLength > 0 ? backLength : 0)) != text) return std::nullopt;
  return bytes;
}

}  // namespace

void writeSelfDeleteBatch(const std::u16string& appFolder) {
  const std::u16string folder = temporaryFolder();
  const std::u16string guid = newGuidText();
  if (folder.empty() || guid.empty()) return;
  const std::u16string batchPath = folder + guid + u".bat";
  wchar_t system[MAX_PATH] = {};
  const UINT systemLength = GetSystemDirectoryW(system, MAX_PATH);
  if (systemLength == 0 || systemLength >= MAX_PATH) return;
  const std::u16string ping = fromWide(system, systemLength) + u"\\PING.EXE";
  const SelfDeleteBatch batch = selfDeleteBatch(ownFilePath(), appFolder, batchPath, ping, toOemCodePage);
  if (batch.bytes.empty()) return;
  if (!replaceFileWhole(batchPath, batch.bytes)) return;  // a cut batch is never started, nor left behind
  // The batch inherits this process's environment and current folder. Neither this process nor
  // the batch may keep the application folder as its current folder: that would hold it open
  // against "rd".
  for (const auto& [name, value] : batch.environment) SetEnvironmentVariableW(wide(name), wide(value));
  SetCurrentDirectoryW(wide(folder));
  ShellExecuteW(nullptr, L"open", wide(batchPath), nullptr, nullptr, SW_HIDE);  // a failure leaves the files
}

}  // namespace averlune

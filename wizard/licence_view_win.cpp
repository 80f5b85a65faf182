#include "wizard/licence_view_win.h"

#include <richedit.h>
#include <shellapi.h>

#include <vector>

#include "config/owned_handle_win.h"
#include "config/wide_text_win.h"

namespace averlune {
namespace {

DWORD CALLBACK readLicenceBlock(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  DWORD read = 0;
  if (!ReadFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(wanted), &read, nullptr)) {
    *given = 0;
    return 1;  // stops the stream; what arrived so far stays shown
  }
  *given = static_cast<LONG>(read);
  return 0;
}

void openLink(const std::wstring& link) {
  std::vector<wchar_t> commandLine(link.begin(), link.end());
  commandLine.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    const OwnedHandle thread(process.hThread);  // the started program runs on its own
    const OwnedHandle started(process.hProcess);
    return;
  }
  // A link that is no program: the shell opens it, web addresses in the browser. Not reported
  // when that fails too.
  ShellExecuteW(nullptr, L"open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

void loadLicenceText(HWND view, const std::u16string& path) {
  const OwnedHandle file(CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(file.get());
  stream.pfnCallback = readLicenceBlock;
  SendMessageW(view, EM_STREAMIN, SF_RTF | SF_TEXT, reinterpret_cast<LPARAM>(&stream));
}

void onLicenceNotify(HWND licenceView, LPARAM notification) {
  if (!notification || !licenceView) return;
  const auto* header = reinterpret_cast<const NMHDR*>(notification);
  if (header->code != EN_LINK || header->hwndFrom != licenceView) return;
  const auto* link = reinterpret_cast<const ENLINK*>(notification);
  if (link->msg != WM_LBUTTONDOWN) return;
  wchar_t buffer[256] = {};
  TEXTRANGEW range{};
  range.chrg = link->chrg;
  // The buffer holds 255 characters and the terminator; a longer link is cut there.
  if (range.chrg.cpMax < 0 || range.chrg.cpMax - range.chrg.cpMin > 255) range.chrg.cpMax = range.chrg.cpMin + 255;
  range.lpstrText = buffer;
  const LRESULT length = SendMessageW(licenceView, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
  if (length <= 0) return;
  openLink(std::wstring(buffer, static_cast<std::size_t>(length)));
}

}  // namespace averlune

#include "wizard/licence_view_win.h"

#include <richedit.h>

#include "guards/desktop_start_win.h"
#include "base/log_file_win.h"
#include "base/owned_handle_win.h"
#include "guards/web_address.h"
#include "base/wide_text_win.h"

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

// Web and mail addresses open in the user's browser or mail program; any other link opens
// nothing. Not reported when the shell cannot open it.
void openLink(const std::u16string& link, const std::u16string& logFile) {
  DesktopStart start;
  start.file = licenceLinkAddress(link);
  if (start.file.empty()) return;
  const DesktopStartWay way = startOnDesktop(start);
  if (!logFile.empty()) appendLogLine(logFile, u"licence link: " + desktopStartLogLine(start, way));
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

void onLicenceNotify(HWND licenceView, LPARAM notification, const std::u16string& logFile) {
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
  openLink(fromWide(buffer, static_cast<std::size_t>(length)), logFile);
}

}  // namespace averlune

#include "wizard/wizard_resources_win.h"

#include <windows.h>

#include <string>

#include "config/file_bytes.h"
#include "config/wide_text_win.h"
#include "resources/resource_ids.h"
#include "wizard/jpeg_decode_win.h"
#include "wizard/picture.h"
#include "wizard/picture_file_win.h"

namespace averlune {
namespace {

HINSTANCE instance() { return GetModuleHandleW(nullptr); }

// The author's picture from the work folder, scaled, or null when it is missing, a folder, or
// does not decode as a JPEG.
HBITMAP authorPicture(const std::u16string& path, int width, int height) {
  std::string bytes;
  if (!readFileBytes(path, bytes)) return nullptr;
  Picture decoded;
  if (!decodeJpeg(bytes, decoded)) return nullptr;
  return static_cast<HBITMAP>(bitmapFromPicture(scalePicture(decoded, width, height)).release());
}

HBITMAP builtInBitmap(int id) {
  return static_cast<HBITMAP>(LoadImageW(instance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

HBITMAP builtInSeparator() {
  HRSRC found = FindResourceW(instance(), MAKEINTRESOURCEW(IDR_WIZARD_SEPARATOR), MAKEINTRESOURCEW(10));  // RT_RCDATA
  HGLOBAL loaded = found ? LoadResource(instance(), found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return nullptr;
  Picture decoded;
  if (!decodeJpeg(std::string_view(static_cast<const char*>(data), SizeofResource(instance(), found)), decoded)) {
    return nullptr;
  }
  return static_cast<HBITMAP>(bitmapFromPicture(decoded).release());
}

HICON shellIcon(int index) {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L"\\Shell32.dll";
  HICON icon = ExtractIconW(instance(), path.c_str(), static_cast<UINT>(index));
  // ExtractIconW answers 1 for a file that holds no icons.
  return reinterpret_cast<UINT_PTR>(icon) > 1 ? icon : nullptr;
}

HFONT makeFont(const wchar_t* face, int points, int weight) {
  const OwnedScreenDc screen(GetDC(nullptr));
  const int pixelsPerInch = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  return CreateFontW(-MulDiv(points, pixelsPerInch, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

}  // namespace

WizardResources prepareWizardResources(const std::u16string& workFolder) {
  WizardResources r;
  HBITMAP side = authorPicture(workFolder + u"Image_Left.jpg", 164, 314);
  r.sidePicture.reset(side ? side : builtInBitmap(IDB_WIZARD_SIDE));
  HBITMAP header = authorPicture(workFolder + u"Image_Top.jpg", 55, 55);
  r.headerPicture.reset(header ? header : builtInBitmap(IDB_WIZARD_HEADER));
  r.separatorPicture.reset(builtInSeparator());
  r.folderIcon.reset(shellIcon(19));
  r.startMenuIcon.reset(shellIcon(4));
  r.titleFont.reset(makeFont(L"Verdana", 11, FW_BOLD));
  r.headerTitleFont.reset(makeFont(L"Microsoft Sans Serif", 8, FW_BOLD));
  r.headerSubtitleFont.reset(makeFont(L"Microsoft Sans Serif", 8, FW_NORMAL));
  r.whiteBrush.reset(CreateSolidBrush(RGB(255, 255, 255)));
  // The setup's DLL search is the system folder only (lifecycle/dll_search_win.h).
  r.richEdit.reset(LoadLibraryW(L"riched20.dll"));
  return r;
}

}  // namespace averlune

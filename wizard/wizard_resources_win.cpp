#include "wizard/wizard_resources_win.h"

#include <windows.h>

#include <string>

#include "pictures/bitmap_decode.h"
#include "guards/dll_search_win.h"
#include "base/resource_bytes_win.h"
#include "base/wide_text_win.h"
#include "pictures/picture_file_win.h"
#include "pictures/window_pictures_win.h"
#include "config/packed_bytes.h"
#include "resources/resource_ids.h"

namespace averlune {
namespace {

HINSTANCE instance() { return GetModuleHandleW(nullptr); }

// The author's picture from the work folder, scaled, or null when it is missing, a folder, or
// does not decode as a JPEG.
HBITMAP authorPicture(const std::u16string& path, int width, int height) {
  Picture decoded;
  if (!loadPictureFile(path, PictureFormats::jpeg, decoded)) return nullptr;
  return bitmapFromPicture(scalePicture(decoded, width, height));
}

// A built-in picture: a bitmap file the program carries packed.
HBITMAP builtInBitmap(int id) {
  std::string bytes;
  Picture decoded;
  if (!unpackBytes(resourceBytes(instance(), id), bytes) || !decodeBitmap(bytes, decoded)) return nullptr;
  return bitmapFromPicture(decoded);
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

}  // namespace

WizardResources prepareWizardResources(const std::u16string& workFolder) {
  WizardResources r;
  HBITMAP side = authorPicture(workFolder + u"Image_Left.jpg", 164, 314);
  r.sidePicture.reset(side ? side : builtInBitmap(IDR_WIZARD_SIDE));
  HBITMAP header = authorPicture(workFolder + u"Image_Top.jpg", 55, 55);
  r.headerPicture.reset(header ? header : builtInBitmap(IDR_WIZARD_HEADER));
  r.separatorPicture.reset(bitmapFromJpegResource(instance(), IDR_WIZARD_SEPARATOR));
  r.folderIcon.reset(shellIcon(19));
  r.startMenuIcon.reset(shellIcon(4));
  r.titleFont.reset(createPointFont(L"Verdana", 11, FW_BOLD));
  r.headerTitleFont.reset(createPointFont(L"Microsoft Sans Serif", 8, FW_BOLD));
  r.headerSubtitleFont.reset(createPointFont(L"Microsoft Sans Serif", 8, FW_NORMAL));
  r.whiteBrush.reset(CreateSolidBrush(RGB(255, 255, 255)));
  r.richEdit.reset(loadSystemLibrary(L"riched20.dll"));
  return r;
}

}  // namespace averlune

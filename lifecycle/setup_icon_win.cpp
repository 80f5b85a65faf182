#include "lifecycle/setup_icon_win.h"

#include <windows.h>

#include <string>
#include <utility>

#include "base/resource_bytes_win.h"
#include "base/wide_text_win.h"
#include "config/packed_bytes.h"
#include "resources/resource_ids.h"

namespace averlune {
namespace {

constexpr int kLargestIconSide = 48;

bool isNonEmptyFile(const std::u16string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(wide(path), GetFileExInfoStandard, &data)) return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  return data.nFileSizeHigh != 0 || data.nFileSizeLow != 0;
}

// Writes the icon file compiled into the program. Failure (e.g. a folder named icon.dat) leaves
// nothing loadable, which the caller handles like any unreadable icon.
void writeBuiltInIcon(const std::u16string& path) {
  std::string bytes;
  if (!unpackBytes(resourceBytes(nullptr, IDR_BUILTIN_ICON), bytes)) return;
  const OwnedHandle file(
      CreateFileW(wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  DWORD written = 0;  // a short write yields an unloadable icon
  WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

SIZE iconSize(HICON icon) {
  ICONINFO info;
  if (!GetIconInfo(icon, &info)) return {0, 0};
  const OwnedGdiObject colour(info.hbmColor);  // copies made for the caller
  const OwnedGdiObject mask(info.hbmMask);
  BITMAP bitmap;
  if (colour && GetObjectW(colour.get(), sizeof bitmap, &bitmap)) return {bitmap.bmWidth, bitmap.bmHeight};
  if (mask && GetObjectW(mask.get(), sizeof bitmap, &bitmap)) {
    return {bitmap.bmWidth, bitmap.bmHeight / 2};  // monochrome: mask and image stacked
  }
  return {0, 0};
}

}  // namespace

OwnedIcon loadSetupIcon(const std::u16string& workFolder) {
  const std::u16string path = workFolder + u"icon.dat";
  if (!isNonEmptyFile(path)) writeBuiltInIcon(path);

  // Size 0 x 0 without LR_DEFAULTSIZE keeps the picture's own size, so a large icon can be seen
  // and scaled below.
  OwnedIcon icon(static_cast<HICON>(LoadImageW(nullptr, wide(path), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)));
  if (!icon) return icon;
  const SIZE size = iconSize(icon.get());
  if (size.cx > kLargestIconSide && size.cy > kLargestIconSide) {
    // Without LR_COPYDELETEORG: the holder frees the original once a copy exists.
    OwnedIcon scaled(
        static_cast<HICON>(CopyImage(icon.get(), IMAGE_ICON, kLargestIconSide, kLargestIconSide, 0)));
    if (scaled) icon = std::move(scaled);
  }
  return icon;
}

}  // namespace averlune

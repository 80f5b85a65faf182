#include "base/temporary_names_win.h"

#include <objbase.h>
#include <windows.h>

#include <vector>

#include "base/wide_text_win.h"

namespace averlune {

std::u16string temporaryFolder() {
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  DWORD length = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
  if (length >= buffer.size()) {
    buffer.resize(length + 1);
    length = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
  }
  if (length == 0 || length >= buffer.size()) return {};
  std::u16string path = fromWide(buffer.data(), length);

  // The temporary path may come in 8.3 form ("C:\Users\ADMINI~1\...").
  DWORD longLength = GetLongPathNameW(wide(path), nullptr, 0);
  if (longLength == 0) return path;
  std::vector<wchar_t> longBuffer(longLength);
  longLength = GetLongPathNameW(wide(path), longBuffer.data(), longLength);
  if (longLength == 0 || longLength >= longBuffer.size()) return path;
  return fromWide(longBuffer.data(), longLength);
}

std::u16string newGuidText() {
  GUID guid;
  if (FAILED(CoCreateGuid(&guid))) return {};
  wchar_t text[kGuidTextLength + 1];
  if (StringFromGUID2(guid, text, kGuidTextLength + 1) != kGuidTextLength + 1) return {};
  return fromWide(text, kGuidTextLength);
}

}  // namespace averlune

#include "lifecycle/configuration_cabinet_win.h"

#include <windows.h>
#include <setupapi.h>

#include <cstdint>
#include <vector>

#include "base/contained_path.h"
#include "base/folder_path_win.h"
#include "base/owned_handle_win.h"
#include "config/payload_container.h"
#include "base/wide_text_win.h"

namespace averlune {
namespace {

// The PE headers and the section table sit well inside the first 64 KiB of any image we build.
constexpr DWORD kHeaderReadSize = 64 * 1024;
constexpr DWORD kCopyBufferSize = 64 * 1024;

bool readExactly(HANDLE file, void* into, DWORD size) {
  DWORD got = 0;
  return ReadFile(file, into, size, &got, nullptr) && got == size;
}

bool seekTo(HANDLE file, std::uint64_t offset) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != 0;
}

// Where the cabinet lies in the own file, or nothing when the file is not a complete setup.
bool findCabinet(HANDLE own, CabinetSpan& span) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(own, &size)) return false;
  const auto fileSize = static_cast<std::uint64_t>(size.QuadPart);
  std::vector<std::uint8_t> headers(static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, kHeaderReadSize)));
  if (!seekTo(own, 0) || !readExactly(own, headers.data(), static_cast<DWORD>(headers.size()))) return false;
  const auto imageLength = peImageLength(headers.data(), headers.size());
  if (!imageLength) return false;

  std::uint8_t lengthField[kCabinetLengthSize];
  if (!seekTo(own, *imageLength) || !readExactly(own, lengthField, sizeof lengthField)) return false;
  const auto located = locateCabinet(*imageLength, readLittleEndian64(lengthField), fileSize);
  if (!located) return false;
  span = *located;
  return true;
}

struct ExtractionContext {
  std::u16string targetFolder;
  bool refusedName = false;
};

UINT CALLBACK onCabinetNotification(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR) {
  if (notification != SPFILENOTIFY_FILEINCABINET) return NO_ERROR;
  auto* info = reinterpret_cast<FILE_IN_CABINET_INFO_W*>(param1);
  auto& extraction = *static_cast<ExtractionContext*>(context);
  const std::u16string name = fromWide(info->NameInCabinet);
  const std::u16string target = extraction.targetFolder + name;
  if (!isContainedRelativePath(name) || target.size() >= MAX_PATH) {
    // Not every cabinet implementation fails the iteration on an abort, so remember it too.
    extraction.refusedName = true;
    SetLastError(ERROR_INVALID_NAME);
    return FILEOP_ABORT;
  }
  // A name in a subfolder needs its folders first; the target folder itself exists already.
  if (name.find(u'\\') != std::u16string::npos) makeFolderPath(target);
  target.copy(reinterpret_cast<char16_t*>(info->FullTargetName), target.size());
  info->FullTargetName[target.size()] = L'\0';
  return FILEOP_DOIT;
}

}  // namespace

CopyCabinetResult copyCabinet(HANDLE own, const std::u16string& cabinetFile) {
  CabinetSpan span;
  if (!own || !findCabinet(own, span) || !seekTo(own, span.offset)) {
    return CopyCabinetResult::ownFileUnreadable;
  }
  const OwnedHandle cabinet(CreateFileW(wide(cabinetFile), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!cabinet) return CopyCabinetResult::cabinetFileNotCreatable;

  std::vector<std::uint8_t> buffer(kCopyBufferSize);
  for (std::uint64_t left = span.length; left > 0;) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::uint64_t>(left, buffer.size()));
    if (!readExactly(own, buffer.data(), chunk)) return CopyCabinetResult::ownFileUnreadable;
    DWORD written = 0;
    if (!WriteFile(cabinet.get(), buffer.data(), chunk, &written, nullptr) || written != chunk) {
      return CopyCabinetResult::cabinetFileNotCreatable;
    }
    left -= chunk;
  }
  return CopyCabinetResult::success;
}

bool extractCabinet(const std::u16string& cabinetFile, const std::u16string& targetFolder) {
  // Made once here rather than walked for every file: each step of that walk asks the disk.
  if (!makeFolderPath(targetFolder)) return false;
  ExtractionContext context{targetFolder};
  const bool iterated = SetupIterateCabinetW(wide(cabinetFile), 0, onCabinetNotification, &context) != FALSE;
  return iterated && !context.refusedName;
}

}  // namespace averlune

#include "install/payload_file_system_win.h"

#include <windows.h>

#include <memory>
#include <vector>

#include "base/wide_text_win.h"

namespace averlune {
namespace {

// The attributes a file's own attributes may set (read-only, hidden, system, archive, normal,
// temporary, offline, not indexed): the archive's external attributes carry more bits than that.
constexpr DWORD kSettableAttributes = 0x31A7;

// A handle of the reader's own to the held file, which closeReading closes: by the handle, never
// by the name, which someone may have given to another file meanwhile.
void* duplicateForReading(HANDLE held) {
  HANDLE copy = nullptr;
  if (!held || !DuplicateHandle(GetCurrentProcess(), held, GetCurrentProcess(), &copy, 0, FALSE,
                                DUPLICATE_SAME_ACCESS)) {
    return nullptr;
  }
  return copy;
}

bool fileSize(void* file, std::uint64_t& size) {
  LARGE_INTEGER length{};
  if (!GetFileSizeEx(static_cast<HANDLE>(file), &length)) return false;
  size = static_cast<std::uint64_t>(length.QuadPart);
  return true;
}

std::size_t readAt(void* file, std::uint64_t offset, void* buffer, std::size_t size) {
  // Positioned by the file pointer rather than by an OVERLAPPED offset: the archive's headers are
  // read a few bytes at a time, and a read given an OVERLAPPED costs a round trip to Wine's server
  // each (to queue a completion nobody waits for), where a plain read is one system call.
  LARGE_INTEGER position{};
  position.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(static_cast<HANDLE>(file), position, nullptr, FILE_BEGIN)) return 0;
  std::size_t total = 0;
  while (total < size) {
    DWORD got = 0;
    if (!ReadFile(static_cast<HANDLE>(file), static_cast<char*>(buffer) + total, static_cast<DWORD>(size - total), &got,
                  nullptr) ||
        got == 0) {
      break;
    }
    total += got;
  }
  return total;
}

void closeHandle(void* file) { CloseHandle(static_cast<HANDLE>(file)); }

FileInHeldFolder& fileOf(void* file) { return *static_cast<FileInHeldFolder*>(file); }

bool writeFile(void* file, const void* data, std::size_t size) {
  const HANDLE handle = fileOf(file).file.get();
  const char* at = static_cast<const char*>(data);
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(handle, at, static_cast<DWORD>(size), &written, nullptr) || written == 0) return false;
    at += written;
    size -= written;
  }
  return true;
}

// One call for the time and the attributes, through the handle that wrote the file: reopening it
// by name to set the attributes cost three more round trips to Wine's server for every file. The
// file takes its name first, so that a read-only one is never left under a new name.
bool finishFile(void* file, const PayloadFileTime& time, std::uint32_t attributes, FilesReplacedAtRestart* atRestart) {
  const std::unique_ptr<FileInHeldFolder> written(&fileOf(file));
  if (!putFileInPlace(*written, atRestart)) return false;
  SYSTEMTIME local{};
  local.wYear = static_cast<WORD>(time.year);
  local.wMonth = static_cast<WORD>(time.month);
  local.wDay = static_cast<WORD>(time.day);
  local.wHour = static_cast<WORD>(time.hour);
  local.wMinute = static_cast<WORD>(time.minute);
  SYSTEMTIME universal{};
  FILETIME stamp{};
  FILE_BASIC_INFO info{};  // times left at zero stay as they are
  // The stored time is the wall-clock time where the archive was made; the zone rules of that date
  // give the instant, so the file shows the same time in summer and winter. An impossible date
  // (month 0 and the like) leaves the time the system set.
  if (TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal) && SystemTimeToFileTime(&universal, &stamp)) {
    info.LastWriteTime.LowPart = stamp.dwLowDateTime;
    info.LastWriteTime.HighPart = static_cast<LONG>(stamp.dwHighDateTime);
  }
  // Zero here would mean "unchanged"; zero attributes mean a plain file.
  const DWORD settable = attributes & kSettableAttributes;
  info.FileAttributes = settable != 0 ? settable : FILE_ATTRIBUTE_NORMAL;
  SetFileInformationByHandle(written->file.get(), FileBasicInfo, &info, sizeof info);  // refused: as created
  return true;
}

std::u16string oemToText(std::string_view bytes) {
  if (bytes.empty()) return {};
  // The conversion OemToCharW makes, with the length counted, so double-byte OEM code pages come
  // out right as well.
  std::vector<wchar_t> text(bytes.size());
  const int length = MultiByteToWideChar(CP_OEMCP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                                         static_cast<int>(text.size()));
  return fromWide(text.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace

PayloadFileSystem windowsPayloadFileSystem(HeldFolders& folders, HANDLE archiveFile, FilesReplacedAtRestart* atRestart) {
  PayloadFileSystem system;
  system.openForReading = [archiveFile](const std::u16string&) { return duplicateForReading(archiveFile); };
  system.fileSize = fileSize;
  system.readAt = readAt;
  system.closeReading = closeHandle;
  system.makeFolderPath = [&folders](const std::u16string& folder) { return holdFolder(folders, folder); };
  system.createFile = [&folders](const std::u16string& path) -> void* {
    return createFileInHeldFolder(folders, path).release();  // finishFile takes it back
  };
  system.writeFile = writeFile;
  system.finishFile = [atRestart](void* file, const PayloadFileTime& time, std::uint32_t attributes) {
    return finishFile(file, time, attributes, atRestart);
  };
  system.oemToText = oemToText;
  return system;
}

}  // namespace averlune

#include "uninstaller/move_into_folder_win.h"

#include <winternl.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "config/wide_text_win.h"

namespace averlune {
namespace {

constexpr int kRenameInformation = 10;  // FILE_RENAME_INFORMATION

struct RenameRecord {  // FILE_RENAME_INFORMATION
  BOOLEAN replaceIfExists;
  HANDLE rootDirectory;
  ULONG fileNameLength;  // bytes
  WCHAR fileName[1];
};

using NtSetInformationFileCall = LONG(NTAPI*)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, int);

}  // namespace

bool moveIntoFolder(HANDLE item, HANDLE folder, const std::u16string& name) {
  // The Win32 wrapper reads the name as a path of the current folder; the NT call takes it as
  // relative to `folder`. ntdll is in every process from its start; nothing is searched for.
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  const auto ntSetInformationFile = ntdll ? reinterpret_cast<NtSetInformationFileCall>(
                                                reinterpret_cast<void*>(GetProcAddress(ntdll, "NtSetInformationFile")))
                                          : nullptr;
  if (!ntSetInformationFile || !item || !folder || name.empty()) return false;
  if (name.find_first_of(u"\\/:") != std::u16string::npos) return false;
  const ULONG nameBytes = static_cast<ULONG>(name.size() * sizeof(WCHAR));
  std::vector<char> buffer(offsetof(RenameRecord, fileName) + nameBytes + sizeof(WCHAR), 0);
  auto* record = reinterpret_cast<RenameRecord*>(buffer.data());
  record->replaceIfExists = FALSE;
  record->rootDirectory = folder;
  record->fileNameLength = nameBytes;
  std::memcpy(record->fileName, wide(name), nameBytes);
  IO_STATUS_BLOCK status{};
  return ntSetInformationFile(item, &status, record, static_cast<ULONG>(buffer.size()), kRenameInformation) >= 0;
}

}  // namespace averlune

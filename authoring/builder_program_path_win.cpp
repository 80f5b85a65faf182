#include "authoring/builder_program_path.h"

#include <windows.h>

#include <string>

namespace averlune {

std::filesystem::path builderProgramPath() {
  // Paths may be longer than MAX_PATH: grow the buffer until the whole name fits.
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return std::filesystem::path(buffer);
    }
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace averlune

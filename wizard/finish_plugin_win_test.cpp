#include "wizard/finish_plugin_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "base/file_bytes.h"
#include "base/temp_folder_test_support.h"
#include "base/wide_text_win.h"
#include "wizard/plugin_exports.h"

namespace averlune {
namespace {

using Names = std::vector<std::string>;

constexpr char kCallsInOrder[] =
    "Zeta wizard-thread=none setup-cab=yes\r\nAlpha wizard-thread=none setup-cab=yes\r\nunloaded\r\n";

std::string fileText(const std::u16string& path) {
  std::string bytes;
  readFileBytes(path, bytes);
  return bytes;
}

// The test plug-in (tests/e2e/fixtures/finish_plugin.c) as the cabinet would bring it: dll.dll in
// a work folder that also holds Setup.cab, logging its calls to calls.txt.
struct PluginFolder {
  TempFolder folder;
  std::u16string plugin;
  std::u16string calls = folder.folder() + u"calls.txt";

  PluginFolder() {
    std::string image;
    EXPECT_TRUE(readFileBytes(fromWide(AVERLUNE_TEST_FINISH_PLUGIN), image));
    plugin = folder.write(u"dll.dll", image);
    folder.write(u"Setup.cab", "cabinet");
    SetEnvironmentVariableW(L"AVERLUNE_PLUGIN_LOG", wide(calls));
  }
  ~PluginFolder() { SetEnvironmentVariableW(L"AVERLUNE_PLUGIN_LOG", nullptr); }
};

TEST(FinishPlugin, EachNamedExportIsCalledOnceInAddressTableOrderThenTheLibraryIsUnloaded) {
  PluginFolder work;
  EXPECT_EQ(pluginExportNames(fileText(work.plugin)), (Names{"Zeta", "Alpha"}));
  callFinishPlugin(work.plugin);
  EXPECT_EQ(fileText(work.calls), kCallsInOrder);
  EXPECT_EQ(GetModuleHandleW(wide(work.plugin)), nullptr);

  // What is no library is passed over without a word.
  callFinishPlugin(work.folder.folder() + u"missing.dll");
  callFinishPlugin(work.folder.write(u"text.dll", "MZ but nothing else"));
  callFinishPlugin(work.folder.folder());
  EXPECT_EQ(fileText(work.calls), kCallsInOrder);
}

// Whether the loaded library names `name` but its loader cannot give the function: the export
// forwards to another library (its address lies inside the export directory), or the slot is
// empty in memory (Wine empties a forwarder it could not resolve). A name the library does not
// list at all is not excused.
bool isUnresolvedForwarder(HMODULE library, const std::string& name) {
  const auto* base = reinterpret_cast<const BYTE*>(library);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  const auto* directory = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
  const auto* names = reinterpret_cast<const DWORD*>(base + directory->AddressOfNames);
  const auto* ordinals = reinterpret_cast<const WORD*>(base + directory->AddressOfNameOrdinals);
  const auto* functions = reinterpret_cast<const DWORD*>(base + directory->AddressOfFunctions);
  for (DWORD i = 0; i < directory->NumberOfNames; ++i) {
    if (name != reinterpret_cast<const char*>(base + names[i])) continue;
    const DWORD address = functions[ordinals[i]];
    return address == 0 || (address >= entry.VirtualAddress && address < entry.VirtualAddress + entry.Size);
  }
  return false;
}

// The system's own libraries, built by another linker: every name read from the file is one the
// loader finds (or forwards to a library the loader cannot resolve), and there are as many as the library
// exports by name.
TEST(FinishPlugin, TheNamesOfASystemLibraryAllResolve) {
  wchar_t system[MAX_PATH] = {};
  ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
  for (const wchar_t* name : {L"\\kernel32.dll", L"\\user32.dll", L"\\shell32.dll"}) {
    const std::u16string path = fromWide(system) + fromWide(name);
    const Names names = pluginExportNames(fileText(path));
    EXPECT_GT(names.size(), 100u) << std::string(path.begin(), path.end());
    const HMODULE library = GetModuleHandleW(wide(path)) ? GetModuleHandleW(wide(path)) : LoadLibraryW(wide(path));
    ASSERT_NE(library, nullptr);
    for (const std::string& exported : names) {
      const bool found = GetProcAddress(library, exported.c_str()) != nullptr;
      EXPECT_TRUE(found || isUnresolvedForwarder(library, exported)) << exported;
    }
  }
}

}  // namespace
}  // namespace averlune

#include "install/shortcut_link_win.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "config/wide_text_win.h"

namespace averlune {

HRESULT createShortcut(const std::u16string& target, const std::u16string& linkPath,
                       const std::u16string& workingFolder, const std::u16string& arguments,
                       const std::u16string& description, const std::u16string& iconFile, int iconIndex) {
  // Balanced per link: a failed initialisation (COM already set up otherwise) still needs its
  // CoUninitialize only when it succeeded.
  const HRESULT initialised = CoInitialize(nullptr);
  IShellLinkW* link = nullptr;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(&link));
  if (SUCCEEDED(result)) {
    // The property results are not looked at: a link saved with what it accepted beats none.
    link->SetPath(wide(target));
    link->SetArguments(wide(arguments));
    link->SetDescription(wide(description));
    link->SetWorkingDirectory(wide(workingFolder));
    link->SetIconLocation(wide(iconFile), iconIndex);
    IPersistFile* file = nullptr;
    result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(result)) {
      result = file->Save(wide(linkPath), TRUE);
      file->Release();
    }
    link->Release();
  }
  if (SUCCEEDED(initialised)) CoUninitialize();
  return result;
}

}  // namespace averlune

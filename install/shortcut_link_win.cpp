#include "install/shortcut_link_win.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "base/owned_handle_win.h"
#include "base/wide_text_win.h"

namespace averlune {

bool createShortcut(const std::u16string& target, const std::u16string& linkPath, const std::u16string& workingFolder,
                    const std::u16string& arguments, const std::u16string& description,
                    const std::u16string& iconFile, int iconIndex) {
  const ComInitialization com;  // per link: the installation thread has no COM of its own
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.putVoid()))) {
    return false;
  }
  // The property results are not looked at: a link saved with what it accepted beats none.
  link->SetPath(wide(target));
  link->SetArguments(wide(arguments));
  link->SetDescription(wide(description));
  link->SetWorkingDirectory(wide(workingFolder));
  link->SetIconLocation(wide(iconFile), iconIndex);
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.putVoid()))) return false;
  return SUCCEEDED(file->Save(wide(linkPath), TRUE));
}

}  // namespace averlune

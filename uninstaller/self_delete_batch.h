#pragma once
// The batch file that removes the uninstaller after it has ended: it deletes the uninstaller's
// file, trying again once a second while the ending process still holds it and giving up after a
// minute, then removes the application folder if it is empty (plain "rd"), then deletes itself.
//
// The command processor reads a batch file in the OEM code page and expands "%" in it. So the
// file is written in the OEM code page with every "%" of a path doubled when every path can be
// written in it; otherwise the paths are not written into the file at all but handed over in
// environment variables of the uninstaller's process, which the batch inherits: their values are
// UTF-16 and expanded once, whatever characters they hold.
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace averlune {

// A text in the OEM code page, or nothing when a character of it has no exact form there.
using OemEncoder = std::function<std::optional<std::string>(const std::u16string& text)>;

struct SelfDeleteBatch {
  std::string bytes;  // the file's content, CR LF line ends; empty: write no batch
  // Environment variables (name, value) to set before the batch is started.
  std::vector<std::pair<std::u16string, std::u16string>> environment;
};

// The batch for the uninstaller file `uninstaller`, the application folder `appFolder` (may be
// empty: no folder is removed), the batch's own path `batch` and the system's ping program `ping`
// (its full path: the batch runs in the root of a drive anyone may put a "ping.bat" into). A path
// that cannot stand between double quotes (it holds a double quote or a control character) is
// never written: such an application folder is left out, such another path gives no batch at all.
SelfDeleteBatch selfDeleteBatch(const std::u16string& uninstaller, const std::u16string& appFolder,
                                const std::u16string& batch, const std::u16string& ping, const OemEncoder& toOem);

}  // namespace averlune

#include "install/installation_log.h"

#include <utility>

namespace averlune {
namespace {

// One line per call: the line feeds inside a status or message become spaces.
std::u16string oneLine(std::u16string text) {
  for (char16_t& c : text) {
    if (c == u'\n' || c == u'\r') c = u' ';
  }
  return text;
}

const char16_t* choiceName(ExtractionChoice choice) {
  switch (choice) {
    case ExtractionChoice::retry: return u"Retry";
    case ExtractionChoice::ignore: return u"Ignore";
    default: return u"Abort";
  }
}

// Wraps `call` so that `before` writes its line first.
template <typename Result, typename... Arguments, typename Before>
void precede(std::function<Result(Arguments...)>& call, Before before) {
  call = [inner = std::move(call), before](Arguments... arguments) -> Result {
    before(arguments...);
    return inner(arguments...);
  };
}

}  // namespace

void logInstallation(InstallationSystem& system, const LogLine& log) {
  precede(system.setStatus, [log](const std::u16string& text) { log(u"status: " + oneLine(text)); });
  precede(system.setEnvironmentVariable,
          [log](const std::u16string& name, const std::u16string& value) { log(u"environment: " + name + u"=" + value); });
  precede(system.makeFolderPath, [log](const std::u16string& folder) { log(u"folder: " + folder); });
  precede(system.makeApplicationFolder, [log](const std::u16string& folder) { log(u"folder: " + folder); });
  precede(system.writeUninstallerImage, [log](const std::u16string& path) { log(u"uninstaller: " + path); });
  precede(system.createLog, [log](const std::u16string& path, const std::string&, const std::u16string&) {
    log(u"uninstall log: " + path);
  });
  precede(system.registerUninstaller, [log](const UninstallRegistration& registration) {
    log(u"uninstall entry: HKEY_LOCAL_MACHINE\\" + registration.subKey);
  });
  precede(system.createShortcut, [log](const ShortcutLink& link) {
    log(u"link: " + link.linkPath + u" -> " + link.target +
        (link.arguments.empty() ? u"" : u" " + link.arguments));
  });
  precede(system.writeRegistryEntry, [log](const RegistryListEntry& entry) {
    log(u"registry value: " + entry.rootName + u"\\" + entry.subKey + entry.valueName + u" = " + oneLine(entry.data));
  });
  precede(system.showError, [log](const std::u16string& title, const std::u16string& text) {
    log(u"error: " + oneLine(title) + u": " + oneLine(text));
  });
  precede(system.showFinishPage, [log] { log(u"installation finished"); });
  precede(system.endRun, [log](bool) { log(u"installation ended before it was complete"); });

  system.askAfterFailedExtraction = [inner = std::move(system.askAfterFailedExtraction), log](
                                        const std::u16string& title, const std::u16string& text) {
    log(u"failure: " + oneLine(text));
    const ExtractionChoice choice = inner(title, text);
    log(std::u16string(u"answer: ") + choiceName(choice));
    return choice;
  };
}

}  // namespace averlune

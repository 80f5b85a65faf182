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

const char16_t* outcomeText(PayloadExtraction outcome) {
  switch (outcome) {
    case PayloadExtraction::extracted: return u"extracted";
    case PayloadExtraction::nameRefused: return u"no path may be written for its name";
    case PayloadExtraction::unreadable: return u"the archive could not give it";
    case PayloadExtraction::folderNotMade: return u"the folder could not be made";
    case PayloadExtraction::fileNotMade: return u"the file could not be created or put in place";
    default: return u"its data is damaged or short, or it could not be written whole";
  }
}

std::u16string decimal(int number) {
  std::u16string text;
  unsigned magnitude = number < 0 ? 0u - static_cast<unsigned>(number) : static_cast<unsigned>(number);
  do {
    text.insert(text.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  return number < 0 ? u"-" + text : text;
}

}  // namespace

std::u16string extractionFailureLogLine(const std::u16string& entryName, const PayloadExtractionResult& result) {
  std::u16string line = u"not extracted: " + entryName + u": " + outcomeText(result.outcome);
  if (result.zipCode != 0) line += u" (archive code " + decimal(result.zipCode) + u")";
  return line;
}

std::u16string linkLogLine(const ShortcutLink& link) {
  return u"link: " + link.linkPath + u" -> " + link.target + (link.arguments.empty() ? u"" : u" " + link.arguments);
}

std::u16string registryValueLogLine(const RegistryListEntry& entry) {
  return u"registry value: " + entry.rootName + u"\\" + entry.subKey + entry.valueName + u" = " + oneLine(entry.data);
}

void logInstallation(InstallationReports& reports, const LogLine& log) {
  reports.note = log;
  precede(reports.setStatus, [log](const std::u16string& text) { log(u"status: " + oneLine(text)); });
  precede(reports.showError, [log](const std::u16string& title, const std::u16string& text) {
    log(u"error: " + oneLine(title) + u": " + oneLine(text));
  });
  precede(reports.showFinishPage, [log] { log(u"installation finished"); });
  precede(reports.endRun, [log](bool) { log(u"installation ended before it was complete"); });

  reports.askAfterFailedExtraction = [inner = std::move(reports.askAfterFailedExtraction), log](
                                         const std::u16string& title, const std::u16string& text) {
    log(u"failure: " + oneLine(text));
    const ExtractionChoice choice = inner(title, text);
    log(std::u16string(u"answer: ") + choiceName(choice));
    return choice;
  };
}

}  // namespace averlune

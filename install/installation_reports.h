#pragma once
// What the installation run tells the user and the administrator while it runs. The wizard fills
// the record with messages to its window, host tests with recordings. Each report the holder does
// not set is that of a run nobody watches: it shows nothing, and a failed entry is not retried
// (Abort, so nothing more is written). A silent installation sets only what it needs to know.
#include <functional>
#include <string>

namespace averlune {

enum class ExtractionChoice { abort, retry, ignore };

struct InstallationReports {
  // The run waits for each call to be done, so the order of the calls is the order on screen.
  std::function<void(const std::u16string& text)> setStatus = [](const std::u16string&) {};
  std::function<void(int maximum)> setProgressMaximum = [](int) {};
  std::function<void(int position)> setProgress = [](int) {};
  std::function<void()> showFinishPage = [] {};
  std::function<void(const std::u16string& title, const std::u16string& text)> showError =
      [](const std::u16string&, const std::u16string&) {};
  std::function<ExtractionChoice(const std::u16string& title, const std::u16string& text)> askAfterFailedExtraction =
      [](const std::u16string&, const std::u16string&) { return ExtractionChoice::abort; };
  // Asks for the end of the whole setup run after a fatal failure or an Abort. The run stops
  // right after it; the end itself is carried out elsewhere (on the main thread, in the setup).
  std::function<void(bool removeWorkFolder)> endRun = [](bool) {};
  // One line of the administrator's log for each thing the run does to the system, before it is
  // done; empty when there is no log (install/installation_log.h).
  std::function<void(const std::u16string& line)> note;
};

// Writes `line` to the administrator's log, when there is one.
inline void noteLine(const InstallationReports& reports, const std::u16string& line) {
  if (reports.note) reports.note(line);
}

}  // namespace averlune

#include "install/installation_log.h"

#include <gtest/gtest.h>

#include <vector>

namespace averlune {
namespace {

TEST(InstallationLog, EachReportWritesItsLineFirstAndAnswersPassThrough) {
  std::vector<std::u16string> events;
  InstallationReports reports;
  reports.setStatus = [&](const std::u16string&) { events.push_back(u"(status shown)"); };
  reports.askAfterFailedExtraction = [&](const std::u16string&, const std::u16string&) {
    events.push_back(u"(asked)");
    return ExtractionChoice::ignore;
  };
  reports.showFinishPage = [&] { events.push_back(u"(finish page)"); };
  logInstallation(reports, [&](const std::u16string& line) { events.push_back(line); });

  reports.setStatus(u"Installing..\nC:\\Tool\\a.txt");
  reports.note(u"folder: C:\\Tool\\");
  reports.note(linkLogLine({u"C:\\Tool\\tool.exe", u"C:\\Links\\Tool.lnk", u"C:\\Tool\\", u"-x"}));
  RegistryListEntry value;
  value.rootName = u"HKLM";
  value.subKey = u"Software\\Tool\\";
  value.valueName = u"Path";
  value.data = u"C:\\Tool\r\nsecond line";
  reports.note(registryValueLogLine(value));
  EXPECT_EQ(reports.askAfterFailedExtraction(u"Error", u"Could not extract file!\nb.txt"), ExtractionChoice::ignore);
  reports.showFinishPage();

  const std::vector<std::u16string> expected = {
      u"status: Installing.. C:\\Tool\\a.txt", u"(status shown)",
      u"folder: C:\\Tool\\",
      u"link: C:\\Links\\Tool.lnk -> C:\\Tool\\tool.exe -x",
      u"registry value: HKLM\\Software\\Tool\\Path = C:\\Tool  second line",
      u"failure: Could not extract file! b.txt", u"(asked)", u"answer: Ignore",
      u"installation finished", u"(finish page)"};
  EXPECT_EQ(events, expected);
}

// A silent run sets only the reports it needs: every other call must be safe to make, a failed
// entry is never retried, and with a log each still writes its line.
TEST(InstallationLog, ReportsNobodySetShowNothingAbortAfterAFailureAndStillLog) {
  std::vector<std::u16string> lines;
  InstallationReports reports;
  logInstallation(reports, [&](const std::u16string& line) { lines.push_back(line); });
  reports.setProgressMaximum(3);
  reports.setStatus(u"Installing..");
  reports.setProgress(1);
  EXPECT_EQ(reports.askAfterFailedExtraction(u"Error", u"Could not extract file!\nb.txt"), ExtractionChoice::abort);
  reports.showError(u"Error", u"Setup Error!");
  reports.endRun(true);
  reports.showFinishPage();
  const std::vector<std::u16string> expected = {
      u"status: Installing..", u"failure: Could not extract file! b.txt", u"answer: Abort",
      u"error: Error: Setup Error!", u"installation ended before it was complete", u"installation finished"};
  EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace averlune

#pragma once
// The sample setup as the end-to-end tests build it: the sample's configuration and application
// with the sample program of this build, every file stamped with a known local time.
#include <windows.h>

#include <string>

namespace averlune::e2e {

inline const std::wstring kSampleApp = L"Averlune Sample Notes";

// The sample's six files with the local time each is stamped with before the setup is built:
// the installed file carries the same minute with the seconds at 0.
struct SampleFile {
  const wchar_t* name;
  SYSTEMTIME stamp;  // year, month, weekday, day, hour, minute, second, ms
};
// In the payload archive's order (sorted by name), which is the uninstall log's order.
inline const SampleFile kSampleFiles[] = {
    {L"Changes.txt", {2023, 11, 0, 30, 23, 59, 59, 0}},
    {L"Licence.txt", {2024, 1, 0, 1, 0, 0, 1, 0}},
    {L"Readme.txt", {2024, 2, 0, 29, 12, 30, 30, 0}},
    {L"SampleNotes.exe", {2024, 3, 0, 15, 14, 35, 58, 0}},
    {L"Settings.ini", {2024, 7, 0, 4, 9, 5, 0, 0}},
    {L"Welcome.txt", {2025, 12, 0, 31, 18, 1, 2, 0}},
};

// The sample program this build made.
std::wstring sampleProgram();

// Lays out the sample's two folders in the scratch folder `testName` as its staging script does,
// without the splash picture (a picture drawn by a script at staging time; without it the splash
// is passed over), and builds the setup from them with the setup builder. Result: the setup's
// path, or empty when it could not be built (the reason is printed). The application files it was
// built from are in the scratch folder's "app" folder.
std::wstring buildSampleSetup(const std::wstring& testName);

}  // namespace averlune::e2e

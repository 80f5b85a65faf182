#pragma once
// Titles of the sections of the author's manual (docs/authoring.md) that the check's messages point
// to, so that an author can read there what a finding means. A test keeps them equal to the
// manual's headings.
namespace averlune::manual {

constexpr const char* kConfigurationFolder = "The configuration folder";
constexpr const char* kSetupScript = "The setup script, SC.dat";
constexpr const char* kWindowsVersions = "Windows versions, OS.dat";
constexpr const char* kLanguageFiles = "Language files";
constexpr const char* kSeveralLanguages = "Several languages, languages.dat";
constexpr const char* kShortcuts = "Shortcuts, Desktop.dat and Startmenu.dat";
constexpr const char* kRegistryValues = "Registry values, Registry.dat";
constexpr const char* kPictures = "Pictures, splash screen and icon";
constexpr const char* kFinishPlugin = "The finish plug-in, dll.dll";
constexpr const char* kApplicationFolder = "The application folder";

}  // namespace averlune::manual

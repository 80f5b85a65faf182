#pragma once
// The setup builder: configuration folder + application folder + bare setup program -> setup.
#include <filesystem>
#include <string>

#include "authoring/build_progress.h"

namespace averlune {

struct BuildRequest {
  std::filesystem::path setupProgram;  // the bare setup program, as built, with no container
  std::filesystem::path configFolder;  // every file below it goes into the configuration cabinet
  std::filesystem::path appFolder;     // every file and folder below it goes into the payload archive
  std::filesystem::path output;        // the finished setup; created or replaced
  // Empty, or the uninstaller signed like the setup will be: carried in the configuration cabinet
  // (config/uninstaller_image.h), so that the setup writes it out instead of its built-in one.
  std::filesystem::path signedUninstaller;
  PackingProgressReport progress;      // optional: hears of each application file packed
};

// Builds the finished setup. Empty on success, otherwise a one-line reason for the setup author.
// On failure no file is left at `output` (a file that was there before stays unchanged) and no
// intermediate file is left beside it.
//
// Configuration files keep their names relative to the configuration folder, with "\" between
// levels, and get only the archive attribute in the cabinet: the setup must be able to delete them
// from its work folder whatever attributes they had on the author's machine. A configuration folder
// that holds a file named like the cabinet's uninstaller is refused, signed build or not.
std::string buildSetup(const BuildRequest& request);

}  // namespace averlune

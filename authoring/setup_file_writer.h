#pragma once
// Writes a finished setup: the unchanged setup program, then the payload container (cabinet length,
// configuration cabinet, payload archive, archive length). The file appears complete or not at all.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace averlune {

struct SetupFileParts {
  std::filesystem::path setupProgram;   // the bare setup program
  std::vector<std::uint8_t> cabinet;    // the configuration cabinet, complete
  std::filesystem::path payloadArchive; // the payload ZIP, complete
};

// Checks that `setupProgram` is a readable Windows program that carries no payload container yet.
// Empty when it is, otherwise the reason for the setup author.
std::string checkBareSetupProgram(const std::filesystem::path& setupProgram);

// Result: empty on success, otherwise a one-line reason for the setup author. On failure nothing
// is left at `output` (a previous file of that name stays as it was).
std::string writeSetupFile(const SetupFileParts& parts, const std::filesystem::path& output);

}  // namespace averlune

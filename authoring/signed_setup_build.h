#pragma once
// A signed build: the uninstaller the bare setup program carries is signed first and carried in the
// configuration cabinet (config/uninstaller_image.h), so that the installed uninstaller bears the
// same signature as the setup; then the finished setup is signed. Which program signs is the
// caller's: the builder's own osslsigncode run or the author's command (authoring/setup_signer.h).
#include <filesystem>
#include <functional>
#include <string>

#include "authoring/setup_builder.h"

namespace averlune {

// Signs the Windows program `file` in place. Empty on success, otherwise a one-line reason. A
// success need not be trusted: the build checks that the file then carries a signature.
using SignFileInPlace = std::function<std::string(const std::filesystem::path& file)>;

// The uninstaller the bare setup program `setupProgram` carries, unpacked: the exact bytes an
// unsigned setup writes out. Empty on success, otherwise the reason for the setup author.
std::string readCarriedUninstaller(const std::filesystem::path& setupProgram, std::string& image);

// True when the program file at `file` ends with a certificate table that its PE headers name.
bool carriesSignature(const std::filesystem::path& file);

// buildSetup, with the uninstaller and the finished setup signed by `sign`. The contract of
// buildSetup holds: on failure no file is left at `request.output` (an earlier one stays as it
// was) and no intermediate file beside it. `request.signedUninstaller` is ignored.
std::string buildSignedSetup(const BuildRequest& request, const SignFileInPlace& sign);

}  // namespace averlune

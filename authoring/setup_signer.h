#pragma once
// Code-signs a finished setup with osslsigncode on the build machine. The signature's certificate
// table goes after the payload, where the setup knows to stop reading its archive.
#include <filesystem>
#include <string>

namespace averlune {

struct SigningRequest {
  std::filesystem::path certificate;  // PEM or DER certificate (chain) of the signer
  std::filesystem::path key;          // the signer's private key
};

// The signing program found on PATH, or an empty path when it is not installed.
std::filesystem::path findSigningTool();

// Signs `unsignedSetup` into `output` with `tool`. Empty on success, otherwise a one-line reason (the
// tool's own output included); on failure `output` is not created.
std::string signSetup(const std::filesystem::path& tool, const SigningRequest& request,
                      const std::filesystem::path& unsignedSetup, const std::filesystem::path& output);

}  // namespace averlune

#pragma once
// Code-signs the programs of a signed build on the build machine (authoring/signed_setup_build.h):
// with osslsigncode and a certificate and key given as files, or with the author's own signing
// command (a tool that keeps its key in a hardware token or a signing service). The signature's
// certificate table goes after the payload, where the setup knows to stop reading its archive.
#include <filesystem>
#include <string>
#include <vector>

namespace averlune {

struct SigningRequest {
  std::filesystem::path certificate;  // PEM or DER certificate (chain) of the signer
  std::filesystem::path key;          // the signer's private key
  std::string timestampUrl;           // with a certificate: an RFC 3161 time-stamping service; empty: none
  std::vector<std::string> command;   // the author's command, split (authoring/signing_command.h)
};

inline bool signingWanted(const SigningRequest& request) {
  return !request.certificate.empty() || !request.command.empty();
}

// The signing program found on PATH, or an empty path when it is not installed.
std::filesystem::path findSigningTool();

// Signs `file` in place with osslsigncode at `tool` and the request's certificate and key (and
// time-stamp). Empty on success, otherwise a one-line reason (the tool's own output included); on
// failure `file` is unchanged.
std::string signWithTool(const std::filesystem::path& tool, const SigningRequest& request,
                         const std::filesystem::path& file);

// Runs the request's own command on `file`, found on PATH and started without a shell; its output
// goes to the builder's standard error, where a tool that asks for a PIN is seen. Empty when it
// exits with 0, otherwise the reason.
std::string signWithCommand(const SigningRequest& request, const std::filesystem::path& file);

}  // namespace averlune

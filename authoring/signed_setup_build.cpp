#include "authoring/signed_setup_build.h"

#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "authoring/path_utf8.h"
#include "authoring/program_resource.h"
#include "config/packed_bytes.h"
#include "config/payload_container.h"
#include "config/uninstaller_image.h"

namespace averlune {
namespace {

namespace fs = std::filesystem;

// The signing step, checked: a command that exits with success but signs nothing would otherwise
// give the author an unsigned setup that the build calls signed.
std::string signChecked(const SignFileInPlace& sign, const fs::path& file, const char* what) {
  if (std::string problem = sign(file); !problem.empty()) return problem;
  if (!carriesSignature(file)) {
    return std::string("signing reported success but left ") + what + " without a signature";
  }
  return {};
}

// Removes the intermediate files whatever way the build ends.
struct Intermediates {
  std::vector<fs::path> files;
  ~Intermediates() {
    std::error_code ignored;
    for (const fs::path& file : files) fs::remove(file, ignored);
  }
};

}  // namespace

std::string readCarriedUninstaller(const fs::path& setupProgram, std::string& image) {
  std::ifstream in(setupProgram, std::ios::binary);
  if (!in) return "cannot read the setup program " + utf8Text(setupProgram);
  const std::vector<std::uint8_t> program{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return "cannot read the setup program " + utf8Text(setupProgram);
  const auto span = findProgramResource(program.data(), program.size(), kResourceTypeRcData, IDR_UNINSTALLER_IMAGE);
  if (!span ||
      !unpackBytes(std::string_view(reinterpret_cast<const char*>(program.data()) + span->offset, span->size), image)) {
    return "the setup program " + utf8Text(setupProgram) + " carries no uninstaller to sign";
  }
  return {};
}

bool carriesSignature(const fs::path& file) {
  std::error_code error;
  const std::uint64_t size = fs::file_size(file, error);
  if (error) return false;
  std::ifstream in(file, std::ios::binary);
  std::vector<std::uint8_t> headers(kPeHeadersReadSize);
  in.read(reinterpret_cast<char*>(headers.data()), static_cast<std::streamsize>(headers.size()));
  headers.resize(static_cast<std::size_t>(in.gcount()));
  return peImageLength(headers.data(), headers.size()) && payloadEnd(headers.data(), headers.size(), size) < size;
}

std::string buildSignedSetup(const BuildRequest& request, const SignFileInPlace& sign) {
  if (request.output.empty()) return "no output file given";
  std::string uninstaller;
  if (std::string problem = readCarriedUninstaller(request.setupProgram, uninstaller); !problem.empty()) {
    return problem;
  }
  // Named as programs, beside the output: some signing tools look at the extension.
  BuildRequest unsignedBuild = request;
  unsignedBuild.signedUninstaller = request.output;
  unsignedBuild.signedUninstaller += ".uninstaller.exe";
  unsignedBuild.output += ".signing.exe";
  Intermediates intermediates{{unsignedBuild.signedUninstaller, unsignedBuild.output}};
  {
    std::ofstream out(unsignedBuild.signedUninstaller, std::ios::binary | std::ios::trunc);
    out.write(uninstaller.data(), static_cast<std::streamsize>(uninstaller.size()));
    if (!out.flush()) return "cannot write " + utf8Text(unsignedBuild.signedUninstaller);
  }
  if (std::string problem = signChecked(sign, unsignedBuild.signedUninstaller, "the uninstaller"); !problem.empty()) {
    return problem;
  }
  if (std::string problem = buildSetup(unsignedBuild); !problem.empty()) return problem;
  if (std::string problem = signChecked(sign, unsignedBuild.output, "the setup"); !problem.empty()) return problem;
  std::error_code error;
  fs::rename(unsignedBuild.output, request.output, error);
  if (error) return "cannot replace " + utf8Text(request.output) + ": " + error.message();
  return {};
}

}  // namespace averlune

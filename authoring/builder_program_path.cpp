#include "authoring/builder_program_path.h"

namespace averlune {

std::filesystem::path builderProgramPath() {
  // The kernel's own link to the running image: right however the builder was started (a link to
  // it on PATH included, which resolves to the package's folder).
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : self;
}

}  // namespace averlune

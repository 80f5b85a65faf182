#include "authoring/setup_file_writer.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "authoring/path_utf8.h"
#include "config/payload_container.h"

namespace averlune {
namespace {

namespace fs = std::filesystem;

bool readWholeFile(const fs::path& path, std::vector<std::uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool copyFileInto(const fs::path& path, std::ofstream& out, std::uint64_t& copied) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::vector<char> buffer(1 << 20);
  copied = 0;
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const std::streamsize got = in.gcount();
    if (got <= 0) break;
    out.write(buffer.data(), got);
    copied += static_cast<std::uint64_t>(got);
  }
  return !in.bad() && static_cast<bool>(out);
}


std::string checkProgramBytes(const std::vector<std::uint8_t>& program, const fs::path& path) {
  const auto imageLength = peImageLength(program.data(), program.size());
  if (!imageLength) return utf8Text(path) + " is not a Windows program";
  if (*imageLength < program.size()) {
    return utf8Text(path) + " already carries a payload container; start from the bare setup program";
  }
  if (*imageLength > program.size()) return utf8Text(path) + " is truncated";
  return {};
}

}  // namespace

std::string checkBareSetupProgram(const fs::path& setupProgram) {
  std::vector<std::uint8_t> program;
  if (!readWholeFile(setupProgram, program)) return "cannot read the setup program " + utf8Text(setupProgram);
  return checkProgramBytes(program, setupProgram);
}

std::string writeSetupFile(const SetupFileParts& parts, const fs::path& output) {
  std::vector<std::uint8_t> program;
  if (!readWholeFile(parts.setupProgram, program)) return "cannot read the setup program " + utf8Text(parts.setupProgram);
  if (std::string error = checkProgramBytes(program, parts.setupProgram); !error.empty()) return error;

  fs::path partial = output;
  partial += ".partial";
  std::error_code ignored;
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) return "cannot create " + utf8Text(partial);
    std::uint8_t lengthField[kCabinetLengthSize];
    writeLittleEndian64(parts.cabinet.size(), lengthField);
    out.write(reinterpret_cast<const char*>(program.data()), static_cast<std::streamsize>(program.size()));
    out.write(reinterpret_cast<const char*>(lengthField), sizeof lengthField);
    out.write(reinterpret_cast<const char*>(parts.cabinet.data()), static_cast<std::streamsize>(parts.cabinet.size()));
    std::uint64_t archiveLength = 0;
    if (!copyFileInto(parts.payloadArchive, out, archiveLength)) {
      out.close();
      fs::remove(partial, ignored);
      return "cannot read the payload archive " + utf8Text(parts.payloadArchive);
    }
    if (archiveLength > UINT32_MAX) {
      out.close();
      fs::remove(partial, ignored);
      return "the payload archive is larger than 4 GiB";
    }
    std::uint8_t archiveField[kArchiveLengthSize];
    writeLittleEndian32(static_cast<std::uint32_t>(archiveLength), archiveField);
    out.write(reinterpret_cast<const char*>(archiveField), sizeof archiveField);
    out.flush();
    if (!out) {
      out.close();
      fs::remove(partial, ignored);
      return "cannot write " + utf8Text(partial);
    }
  }
  std::error_code error;
  fs::rename(partial, output, error);
  if (error) {
    fs::remove(partial, ignored);
    return "cannot write " + utf8Text(output) + ": " + error.message();
  }
  return {};
}

}  // namespace averlune

#pragma once
// Helpers shared by the builder's tests: private temporary folders, small files, a minimal
// Windows program to stand in for the bare setup program, and running the host's archive tools.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "config/payload_container.h"

namespace averlune::testing {

namespace fs = std::filesystem;

// A fresh folder under the temporary folder, removed with everything in it at the end of scope.
struct TempFolder {
  fs::path path;
  TempFolder() {
    std::random_device random;
    for (;;) {
      path = fs::temp_directory_path() / ("averlune-authoring-" + std::to_string(random()));
      std::error_code error;
      if (fs::create_directory(path, error)) break;
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::permissions(path, fs::perms::all, ignored);
    fs::remove_all(path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
};

inline void writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void writeFile(const fs::path& path, const std::string& text) {
  writeFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

inline std::vector<std::uint8_t> readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Bytes that compress poorly, the same for the same seed.
inline std::vector<std::uint8_t> noise(std::size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  std::vector<std::uint8_t> bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(generator());
  return bytes;
}

// Bytes that compress well.
inline std::vector<std::uint8_t> prose(std::size_t size) {
  const std::string line = "The quick brown fox jumps over the lazy dog.\r\n";
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(line[i % line.size()]);
  return bytes;
}

// The smallest file the builder takes for a bare setup program: DOS and PE headers with one
// section whose raw data ends at 0x400, the end of the file.
inline std::vector<std::uint8_t> bareProgram() {
  std::vector<std::uint8_t> bytes(0x400, 0);
  bytes[0] = 'M';
  bytes[1] = 'Z';
  writeLittleEndian32(0x80, &bytes[0x3C]);
  bytes[0x80] = 'P';
  bytes[0x81] = 'E';
  bytes[0x84 + 2] = 1;    // one section
  bytes[0x84 + 16] = 224; // optional header size
  const std::size_t section = 0x84 + 20 + 224;
  writeLittleEndian32(0x200, &bytes[section + 16]);
  writeLittleEndian32(0x200, &bytes[section + 20]);
  for (std::size_t i = 0x200; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
  return bytes;
}

struct ToolRun {
  int exitCode = -1;
  std::string output;  // standard output and standard error together
};

// Runs a command line of the host shell; the tests that need it skip themselves on Windows.
inline ToolRun runTool(const std::string& command, const fs::path& scratch) {
  ToolRun run;
  const fs::path log = scratch / "tool-output.txt";
  const int status = std::system((command + " > '" + log.string() + "' 2>&1").c_str());
#ifdef _WIN32
  run.exitCode = status;
#else
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  const auto bytes = readFile(log);
  run.output.assign(bytes.begin(), bytes.end());
  std::error_code ignored;
  fs::remove(log, ignored);
  return run;
}

inline bool hostToolPresent(const std::string& tool) {
#ifdef _WIN32
  (void)tool;
  return false;
#else
  return std::system(("command -v " + tool + " > /dev/null 2>&1").c_str()) == 0;
#endif
}

inline std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// Info-ZIP's test of every entry passes. Its exit code 1 (warnings only) is accepted: it warns
// about the bytes in front of an archive inside a setup and about the empty name of the first
// entry, both part of the format.
inline ::testing::AssertionResult unzipTestAccepts(const fs::path& archive, std::size_t entries,
                                                   const fs::path& scratch) {
  const ToolRun run = runTool("unzip -t " + quoted(archive), scratch);
  std::size_t passed = 0;
  for (std::size_t at = run.output.find("testing:"); at != std::string::npos; at = run.output.find("testing:", at + 1)) {
    const std::size_t lineEnd = run.output.find('\n', at);
    if (run.output.compare(lineEnd - 2, 2, "OK") == 0) ++passed;
  }
  if (run.exitCode > 1 || passed != entries) {
    return ::testing::AssertionFailure() << "exit code " << run.exitCode << ", " << passed << " of " << entries
                                         << " entries OK:\n" << run.output;
  }
  return ::testing::AssertionSuccess();
}

// One entry's content as Info-ZIP extracts it.
inline std::vector<std::uint8_t> unzipEntry(const fs::path& archive, const std::string& name, const fs::path& scratch) {
  const fs::path out = scratch / "entry.bin";
  std::system(("unzip -p " + quoted(archive) + " '" + name + "' > " + quoted(out) + " 2>/dev/null").c_str());
  auto bytes = readFile(out);
  std::error_code ignored;
  fs::remove(out, ignored);
  return bytes;
}

}  // namespace averlune::testing

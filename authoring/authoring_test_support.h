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

// A PE32 program whose one section holds a resource tree with one resource, numbered `type` and
// `id`, in one language, holding `data`. Its image ends at the end of the file, as a bare setup
// program's does. Offsets of its parts, for tests that damage them: the optional header starts at
// kOptionalHeader, the section's raw data (the tree: the type directory, the name directory at 0x18,
// the language directory at 0x30, the data entry at 0x48, the data at 0x58) at kResourceStart.
constexpr std::size_t kOptionalHeader = 0x98;
constexpr std::size_t kSectionTable = kOptionalHeader + 224;
constexpr std::size_t kResourceStart = 0x200;
constexpr std::uint32_t kResourceAddress = 0x1000;

inline std::vector<std::uint8_t> programWithResource(std::uint16_t type, std::uint16_t id,
                                                     const std::vector<std::uint8_t>& data) {
  const std::size_t rawSize = (0x58 + data.size() + 0x1FF) & ~std::size_t{0x1FF};
  std::vector<std::uint8_t> bytes(kResourceStart + rawSize, 0);
  bytes[0] = 'M';
  bytes[1] = 'Z';
  writeLittleEndian32(0x80, &bytes[0x3C]);
  writeLittleEndian32(0x00004550, &bytes[0x80]);
  bytes[0x84 + 2] = 1;     // one section
  bytes[0x84 + 16] = 224;  // optional header size
  bytes[kOptionalHeader] = 0x0B;
  bytes[kOptionalHeader + 1] = 0x01;
  writeLittleEndian32(16, &bytes[kOptionalHeader + 92]);  // data directories
  writeLittleEndian32(kResourceAddress, &bytes[kOptionalHeader + 96 + 16]);
  writeLittleEndian32(static_cast<std::uint32_t>(0x58 + data.size()), &bytes[kOptionalHeader + 96 + 20]);
  writeLittleEndian32(static_cast<std::uint32_t>(rawSize), &bytes[kSectionTable + 8]);
  writeLittleEndian32(kResourceAddress, &bytes[kSectionTable + 12]);
  writeLittleEndian32(static_cast<std::uint32_t>(rawSize), &bytes[kSectionTable + 16]);
  writeLittleEndian32(kResourceStart, &bytes[kSectionTable + 20]);
  std::uint8_t* tree = &bytes[kResourceStart];
  const auto directory = [&](std::size_t at, std::uint32_t entryId, std::uint32_t target) {
    tree[at + 14] = 1;  // one numbered entry
    writeLittleEndian32(entryId, tree + at + 16);
    writeLittleEndian32(target, tree + at + 20);
  };
  directory(0x00, type, 0x80000018u);
  directory(0x18, id, 0x80000030u);
  directory(0x30, 1033, 0x48);
  writeLittleEndian32(kResourceAddress + 0x58, tree + 0x48);
  writeLittleEndian32(static_cast<std::uint32_t>(data.size()), tree + 0x4C);
  std::copy(data.begin(), data.end(), tree + 0x58);
  return bytes;
}

// Signs as far as the builder can tell: appends a certificate table and names it in the PE security
// directory. For PE32 files such as programWithResource's.
inline void fakeSign(const fs::path& file) {
  std::vector<std::uint8_t> bytes;
  {
    std::ifstream in(file, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  bytes.resize((bytes.size() + 7) & ~std::size_t{7}, 0);
  writeLittleEndian32(static_cast<std::uint32_t>(bytes.size()), &bytes[kOptionalHeader + 128]);
  writeLittleEndian32(16, &bytes[kOptionalHeader + 132]);
  bytes.resize(bytes.size() + 16, 0xC5);
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
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

#pragma once
// Test helpers for the payload archive reader: archives written with minizip's own zip API into a
// temporary file, and a file system that reads the archive from the host's disk but records every
// target-side operation in memory instead of touching a real application folder.
#include <gtest/gtest.h>
#include <zip.h>
#include <zlib.h>

#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "base/text_decoding.h"
#include "install/payload_archive_reader.h"

namespace averlune::payloadtest {

namespace fs = std::filesystem;

// One entry to write: `data` is stored or deflated; `raw` entries take `data` as the finished
// compressed stream and declare `declaredSize` and `declaredCrc` instead of the real ones.
struct TestEntry {
  std::string name;  // bytes as stored (OEM code page, or UTF-8 with kPayloadNameIsUtf8 in `flags`)
  std::string data;
  std::uint32_t externalAttributes = 0x20;
  std::uint32_t dosDateTime = 0x5A2D753D;  // 2025-01-13 14:41:58
  int method = Z_DEFLATED;
  bool raw = false;
  std::uint32_t declaredSize = 0;
  std::uint32_t declaredCrc = 0;
  std::uint32_t flags = 0;  // general purpose flags beside those minizip sets itself
};

inline std::uint32_t crcOf(const std::string& data) {
  return static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

// A fresh folder under the host's temporary folder, removed when the holder goes.
struct ScratchFolder {
  fs::path path;
  ScratchFolder() {
    std::random_device random;
    path = fs::temp_directory_path() / ("averlune-payload-" + std::to_string(random()));
    fs::create_directories(path);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
};

inline std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Writes `entries` as a ZIP archive to `path`; `before` and `after` are bytes put around it, as
// the setup program's image and the container trailer stand around the payload archive.
inline void writeArchive(const fs::path& path, const std::vector<TestEntry>& entries, const std::string& before = "",
                         const std::string& after = "") {
  const fs::path zipPath = path.string() + ".zip";
  zipFile zip = zipOpen64(zipPath.string().c_str(), APPEND_STATUS_CREATE);
  ASSERT_NE(zip, nullptr);
  for (const TestEntry& entry : entries) {
    zip_fileinfo info{};
    info.dosDate = entry.dosDateTime;
    info.external_fa = entry.externalAttributes;
    ASSERT_EQ(zipOpenNewFileInZip4(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, entry.method,
                                   Z_DEFAULT_COMPRESSION, entry.raw ? 1 : 0, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY,
                                   nullptr, 0, 0, entry.flags),
              ZIP_OK);
    if (!entry.data.empty()) {
      ASSERT_EQ(zipWriteInFileInZip(zip, entry.data.data(), static_cast<unsigned>(entry.data.size())), ZIP_OK);
    }
    if (entry.raw) {
      ASSERT_EQ(zipCloseFileInZipRaw(zip, entry.declaredSize, entry.declaredCrc), ZIP_OK);
    } else {
      ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
    }
  }
  ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
  const std::string archive = readBytes(zipPath);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << before << archive << after;
  ASSERT_TRUE(out.good());
  out.close();
  fs::remove(zipPath);
}


// What the reader did to the target side.
struct RecordedFile {
  std::string bytes;          // kept only while below the keep limit
  std::uint64_t size = 0;     // every byte written
  std::uint32_t crc = 0;      // CRC-32 of every byte written
  std::size_t largestWrite = 0;
  bool finished = false;
  PayloadFileTime time;
  std::uint32_t attributes = 0;
};

struct RecordingFileSystem {
  std::map<std::u16string, RecordedFile> files;
  std::set<std::u16string> folders;            // every folder makeFolderPath was asked for
  std::set<std::u16string> refusedFiles;       // createFile fails for these paths
  std::set<std::u16string> refusedFolders;     // makeFolderPath fails for these
  std::uint64_t keepLimit = 1 << 20;
  std::vector<std::u16string> createOrder;

  struct OpenTarget {
    RecordingFileSystem* owner;
    std::u16string path;
  };

  PayloadFileSystem system() {
    PayloadFileSystem result;
    result.openForReading = [](const std::u16string& path) -> void* {
      return std::fopen(encodeUtf8(path).c_str(), "rb");
    };
    result.fileSize = [](void* file, std::uint64_t& size) {
      auto* stream = static_cast<std::FILE*>(file);
      if (fseeko(stream, 0, SEEK_END) != 0) return false;
      size = static_cast<std::uint64_t>(ftello(stream));
      return true;
    };
    result.readAt = [](void* file, std::uint64_t offset, void* buffer, std::size_t size) -> std::size_t {
      auto* stream = static_cast<std::FILE*>(file);
      if (fseeko(stream, static_cast<off_t>(offset), SEEK_SET) != 0) return 0;
      return std::fread(buffer, 1, size, stream);
    };
    result.closeReading = [](void* file) { std::fclose(static_cast<std::FILE*>(file)); };
    result.makeFolderPath = [this](const std::u16string& folder) {
      if (refusedFolders.count(folder)) return false;
      folders.insert(folder);
      return true;
    };
    result.createFile = [this](const std::u16string& path) -> void* {
      if (refusedFiles.count(path)) return nullptr;
      files[path] = RecordedFile{};
      createOrder.push_back(path);
      return new OpenTarget{this, path};
    };
    result.writeFile = [](void* file, const void* data, std::size_t size) {
      auto* target = static_cast<OpenTarget*>(file);
      RecordedFile& recorded = target->owner->files[target->path];
      if (recorded.size + size <= target->owner->keepLimit) recorded.bytes.append(static_cast<const char*>(data), size);
      recorded.size += size;
      recorded.crc = static_cast<std::uint32_t>(
          crc32(recorded.crc, static_cast<const Bytef*>(data), static_cast<uInt>(size)));
      if (size > recorded.largestWrite) recorded.largestWrite = size;
      return true;
    };
    result.finishFile = [](void* file, const PayloadFileTime& time, std::uint32_t attributes) {
      auto* target = static_cast<OpenTarget*>(file);
      RecordedFile& recorded = target->owner->files[target->path];
      recorded.finished = true;
      recorded.time = time;
      recorded.attributes = attributes;
      delete target;
      return true;
    };
    // Code page 437 for the bytes the tests use; ASCII passes through.
    result.oemToText = [](std::string_view bytes) {
      std::u16string text;
      for (unsigned char c : bytes) {
        if (c == 0x81) {
          text += u'\u00FC';
        } else if (c == 0x84) {
          text += u'\u00E4';
        } else {
          text += static_cast<char16_t>(c);
        }
      }
      return text;
    };
    return result;
  }
};

}  // namespace averlune::payloadtest

#include "authoring/payload_archive_writer.h"

#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "authoring/code_page_names.h"
#include "authoring/ordered_parallel_work.h"
#include "authoring/path_utf8.h"
#include "authoring/whole_entry_deflate.h"

namespace averlune {
namespace {

namespace fs = std::filesystem;

// minizip opens files through its own I/O table; the archive path travels as a pointer to a
// std::filesystem::path so that Windows paths outside the ANSI code page work too.
voidpf openArchive(voidpf, const void* filename, int mode) {
  if ((mode & ZLIB_FILEFUNC_MODE_CREATE) == 0) return nullptr;
  const fs::path& path = *static_cast<const fs::path*>(filename);
#ifdef _WIN32
  return _wfopen(path.c_str(), L"wb");
#else
  return std::fopen(path.c_str(), "wb");
#endif
}

struct ZipHolder {
  zipFile zip = nullptr;
  ~ZipHolder() {
    if (zip) zipClose(zip, nullptr);  // an archive abandoned on failure; the caller removes it
  }
  // Closes the archive, writing its central directory; false when that fails.
  bool finish() {
    const int result = zipClose(zip, nullptr);
    zip = nullptr;
    return result == ZIP_OK;
  }
};

zip_fileinfo entryInfo(DosDateTime modified, std::uint32_t attributes) {
  zip_fileinfo info{};
  info.dosDate = static_cast<uLong>(modified.date) << 16 | modified.time;
  info.external_fa = attributes;
  return info;
}

// Bit 11 of the general purpose flags, in the local and the central header: the name is UTF-8.
constexpr uLong kFlagLanguageEncoding = 0x0800;

// Starts an entry with minizip's defaults for everything but the name's flag, so that an entry
// without it comes out exactly as minizip's plain calls make it.
int openEntry(zipFile zip, const StoredEntryName& name, const zip_fileinfo& info, int method, int level, int raw) {
  constexpr uLong kMadeByMsDos = 0;  // the low byte of the external attributes is a Windows attribute
  return zipOpenNewFileInZip4(zip, name.bytes.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method, level, raw,
                              -MAX_WBITS, 8, Z_DEFAULT_STRATEGY, nullptr, 0, kMadeByMsDos,
                              name.utf8 ? kFlagLanguageEncoding : 0);
}

std::string addFolderEntry(zipFile zip, const StoredEntryName& name, DosDateTime modified) {
  const zip_fileinfo info = entryInfo(modified, kAttributeFolder);
  if (openEntry(zip, name, info, 0, 0, 0) != ZIP_OK || zipCloseFileInZip(zip) != ZIP_OK) {
    return "cannot write the payload archive";
  }
  return {};
}

// A file larger than a whole entry, deflated as a stream while it is read.
std::string addStreamedFile(zipFile zip, const SourceFile& file, const StoredEntryName& entryName) {
  std::ifstream in(file.path, std::ios::binary);
  if (!in) return "cannot read " + utf8Text(file.path);
  const zip_fileinfo info = entryInfo(file.modified, file.attributes);
  if (openEntry(zip, entryName, info, Z_DEFLATED, Z_BEST_COMPRESSION, 0) != ZIP_OK) {
    return "cannot write the payload archive";
  }
  std::vector<char> buffer(1 << 16);
  std::uint64_t copied = 0;
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const std::streamsize got = in.gcount();
    if (got <= 0) break;
    if (zipWriteInFileInZip(zip, buffer.data(), static_cast<unsigned>(got)) != ZIP_OK) {
      return "cannot write the payload archive";
    }
    copied += static_cast<std::uint64_t>(got);
  }
  if (in.bad()) return "cannot read " + utf8Text(file.path);
  if (copied > kPayloadMaxFileBytes) return utf8Text(file.path) + " grew to 4 GiB or more while it was read";
  if (zipCloseFileInZip(zip) != ZIP_OK) return "cannot write the payload archive";
  return {};
}

// A file prepared whole on a worker thread, written as it is (raw).
std::string addWholeFile(zipFile zip, const SourceFile& file, const StoredEntryName& entryName,
                         const WholeEntry& entry) {
  const zip_fileinfo info = entryInfo(file.modified, file.attributes);
  const int method = entry.deflated ? Z_DEFLATED : 0;
  if (openEntry(zip, entryName, info, method, Z_BEST_COMPRESSION, 1) != ZIP_OK ||
      (!entry.bytes.empty() &&
       zipWriteInFileInZip(zip, entry.bytes.data(), static_cast<unsigned>(entry.bytes.size())) != ZIP_OK) ||
      zipCloseFileInZipRaw(zip, static_cast<uLong>(entry.size), entry.crc) != ZIP_OK) {
    return "cannot write the payload archive";
  }
  return {};
}

struct PreparedFile {
  WholeEntry entry;
  bool streamed = false;  // too large to prepare whole: the writing thread deflates it
  std::string error;
};

// The memory that files prepared ahead of the one being written may hold together: enough for
// every thread to work on a file of the largest whole size.
constexpr std::uint64_t kPreparedFilesBudget = 32u << 20;

// Writes the application's files in order, preparing them on every processor.
std::string addFiles(zipFile zip, const SourceFolder& application, const std::vector<StoredEntryName>& entryNames,
                     const PackingProgressReport& report) {
  const unsigned threads = std::max(std::thread::hardware_concurrency(), 1u);
  std::vector<std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor*)>> compressors;
  for (unsigned i = 0; i < threads; ++i) {
    compressors.emplace_back(payloadCompressor(), freeCompressor);
    if (!compressors.back()) return "not enough memory to compress the payload";
  }
  const auto whole = [&](std::size_t i) { return application.files[i].size <= kWholeEntryMaxBytes; };
  PackingProgress progress;
  progress.filesTotal = application.files.size();
  for (const SourceFile& file : application.files) progress.bytesTotal += file.size;
  std::string error;
  runOrderedParallelWork<PreparedFile>(
      application.files.size(), threads, kPreparedFilesBudget,
      [&](std::size_t i) { return whole(i) ? wholeEntryMemory(application.files[i].size) : 0; },
      [&](std::size_t i, unsigned worker) {
        PreparedFile prepared;
        const SourceFile& file = application.files[i];
        if (!whole(i)) {
          prepared.streamed = true;
        } else {
          prepared.error = prepareWholeEntry(file.path, file.size, *compressors[worker], prepared.entry);
          if (prepared.error.empty() && prepared.entry.size > kPayloadMaxFileBytes) {
            prepared.error = utf8Text(file.path) + " grew to 4 GiB or more while it was read";
          }
        }
        return prepared;
      },
      [](const PreparedFile& prepared) { return static_cast<std::uint64_t>(prepared.entry.bytes.capacity()); },
      [&](std::size_t i, PreparedFile prepared) {
        const SourceFile& file = application.files[i];
        if (!prepared.error.empty()) {
          error = std::move(prepared.error);
        } else if (prepared.streamed) {
          error = addStreamedFile(zip, file, entryNames[i]);
        } else {
          error = addWholeFile(zip, file, entryNames[i], prepared.entry);
        }
        if (!error.empty()) return false;
        ++progress.filesPacked;
        progress.bytesPacked += file.size;
        if (report) report(progress);
        return true;
      });
  return error;
}

std::size_t depth(const std::string& name) { return static_cast<std::size_t>(std::count(name.begin(), name.end(), '/')); }

}  // namespace

std::string writePayloadArchive(const SourceFolder& application, const fs::path& archive,
                                const PackingProgressReport& report) {
  // Every name and size is checked before anything is written.
  std::vector<StoredEntryName> fileNames;
  for (const SourceFile& file : application.files) {
    if (file.size > kPayloadMaxFileBytes) {
      return utf8Text(file.path) + " is 4 GiB or larger; a setup cannot carry files of that size";
    }
    auto stored = storedEntryName(file.name);
    if (!stored) return "the name of " + utf8Text(file.path) + " is not UTF-8 text";
    fileNames.push_back(std::move(*stored));
  }
  std::vector<std::pair<std::string, StoredEntryName>> folders;  // (relative UTF-8 name, stored name)
  for (const std::string& folder : application.subfolders) {
    auto stored = storedEntryName(folder);
    if (!stored) return "the name of the folder " + folder + " is not UTF-8 text";
    stored->bytes += '/';
    folders.emplace_back(folder, std::move(*stored));
  }
  std::stable_sort(folders.begin(), folders.end(),
                   [](const auto& a, const auto& b) { return depth(a.first) > depth(b.first); });

  zlib_filefunc64_def io;
  fill_fopen64_filefunc(&io);
  io.zopen64_file = openArchive;
  ZipHolder holder;
  holder.zip = zipOpen2_64(&archive, APPEND_STATUS_CREATE, nullptr, &io);
  if (!holder.zip) return "cannot create " + utf8Text(archive);

  // Folder entries carry the newest file time, so that the same folder always gives the same
  // archive; the setup does not apply times to folders.
  DosDateTime folderTime{0x21, 0};  // 1980-01-01 00:00:00
  for (const SourceFile& file : application.files) {
    if (std::make_pair(file.modified.date, file.modified.time) > std::make_pair(folderTime.date, folderTime.time)) {
      folderTime = file.modified;
    }
  }
  if (std::string error = addFolderEntry(holder.zip, {}, folderTime); !error.empty()) return error;

  if (std::string error = addFiles(holder.zip, application, fileNames, report); !error.empty()) return error;
  for (const auto& folder : folders) {
    if (std::string error = addFolderEntry(holder.zip, folder.second, folderTime); !error.empty()) return error;
  }
  if (!holder.finish()) return "cannot write the payload archive " + utf8Text(archive);
  return {};
}

}  // namespace averlune

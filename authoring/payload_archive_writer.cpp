#include "authoring/payload_archive_writer.h"

#include <zip.h>

#include <algorithm>
#include <ctime>
#include <utility>
#include <cstdio>
#include <fstream>
#include <vector>

#include "authoring/path_utf8.h"
#include "authoring/code_page_names.h"

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

std::string addFolderEntry(zipFile zip, const std::string& name, DosDateTime modified) {
  const zip_fileinfo info = entryInfo(modified, kAttributeFolder);
  if (zipOpenNewFileInZip(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, 0, 0) != ZIP_OK ||
      zipCloseFileInZip(zip) != ZIP_OK) {
    return "cannot write the payload archive";
  }
  return {};
}

std::string addFile(zipFile zip, const SourceFile& file, const std::string& entryName, std::vector<char>& buffer) {
  std::ifstream in(file.path, std::ios::binary);
  if (!in) return "cannot read " + utf8Text(file.path);
  const zip_fileinfo info = entryInfo(file.modified, file.attributes);
  if (zipOpenNewFileInZip(zip, entryName.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                          Z_BEST_COMPRESSION) != ZIP_OK) {
    return "cannot write the payload archive";
  }
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

std::size_t depth(const std::string& name) { return static_cast<std::size_t>(std::count(name.begin(), name.end(), '/')); }

}  // namespace

std::string writePayloadArchive(const SourceFolder& application, const fs::path& archive) {
  // Every name and size is checked before anything is written.
  std::vector<std::string> fileNames;
  for (const SourceFile& file : application.files) {
    if (file.size > kPayloadMaxFileBytes) {
      return utf8Text(file.path) + " is 4 GiB or larger; a setup cannot carry files of that size";
    }
    const auto oem = toOemName(file.name);
    if (!oem) return "the name of " + utf8Text(file.path) + " holds characters that Windows setups cannot show";
    fileNames.push_back(*oem);
  }
  std::vector<std::pair<std::string, std::string>> folders;  // (relative UTF-8 name, stored name)
  for (const std::string& folder : application.subfolders) {
    const auto oem = toOemName(folder);
    if (!oem) return "the name of the folder " + folder + " holds characters that Windows setups cannot show";
    folders.emplace_back(folder, *oem + "/");
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
  if (std::string error = addFolderEntry(holder.zip, "", folderTime); !error.empty()) return error;

  std::vector<char> buffer(1 << 16);
  for (std::size_t i = 0; i < application.files.size(); ++i) {
    if (std::string error = addFile(holder.zip, application.files[i], fileNames[i], buffer); !error.empty()) return error;
  }
  for (const auto& folder : folders) {
    if (std::string error = addFolderEntry(holder.zip, folder.second, folderTime); !error.empty()) return error;
  }
  if (!holder.finish()) return "cannot write the payload archive " + utf8Text(archive);
  return {};
}

}  // namespace averlune

#include "install/payload_archive_reader.h"

#include <unzip.h>

#include <algorithm>
#include <new>
#include <utility>

#include "base/contained_path.h"
#include "base/path_text.h"
#include "config/payload_container.h"
#include "base/text_decoding.h"
#include "install/payload_whole_entry.h"

namespace averlune {

// Minizip reads headers a byte or a few at a time; such reads are served from a block of the file
// read around them. Reading the central directory and each entry's local header alternate, so
// two blocks are kept and the one used longer ago is refilled.
constexpr std::size_t kWindowBlockSize = 8192;

struct WindowBlock {
  std::uint64_t start = 0;  // relative to the window's offset
  std::size_t length = 0;
  unsigned char bytes[kWindowBlockSize];
};

// The setup file up to the end of its payload, which minizip reads through our I/O functions.
struct ArchiveWindow {
  const PayloadFileSystem* system = nullptr;
  void* file = nullptr;
  std::uint64_t length = 0;
  std::uint64_t position = 0;
  WindowBlock blocks[2];
  int lastBlock = 0;  // the block used last
};

struct PayloadArchiveState {
  unzFile zip = nullptr;
  ArchiveWindow* window = nullptr;  // minizip's open stream, owned by minizip
  std::unique_ptr<char[]> buffer;   // the copy buffer, allocated once per open archive
  PayloadWholeEntry whole;
  // The folder made last: it and the folders above it need not be made again for the next entry.
  std::u16string madeFolder;
};

namespace {

// The reader's own failures while copying, beside minizip's codes (all negative).
constexpr int kNotWrittenWhole = -1;
constexpr int kShorterThanStated = -111;

// What minizip's open function receives in place of a file name.
struct OpenRequest {
  const PayloadFileSystem* system = nullptr;
  const std::u16string* path = nullptr;
  ArchiveWindow** opened = nullptr;  // receives the window
};

// The end of the payload in an open setup file: a signed setup's certificate table follows the
// archive and must not be searched for its end record.
std::uint64_t payloadEndOf(const PayloadFileSystem& system, void* file, std::uint64_t size) {
  std::uint8_t headers[kPeHeadersReadSize];
  const std::size_t got = system.readAt(file, 0, headers, sizeof headers);
  return payloadEnd(headers, got, size);
}

voidpf ZCALLBACK openWindow(voidpf, const void* filename, int mode) {
  if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
  const auto& request = *static_cast<const OpenRequest*>(filename);
  void* file = request.system->openForReading(*request.path);
  if (!file) return nullptr;
  std::uint64_t size = 0;
  if (!request.system->fileSize(file, size)) {
    request.system->closeReading(file);
    return nullptr;
  }
  auto* window = new (std::nothrow) ArchiveWindow;
  if (!window) {
    request.system->closeReading(file);
    return nullptr;
  }
  window->system = request.system;
  window->file = file;
  window->length = payloadEndOf(*request.system, file, size);
  *request.opened = window;
  return window;
}

// Reads up to `size` bytes at `at` in the window straight from the file; the number read.
std::size_t readWindowAt(const ArchiveWindow& window, std::uint64_t at, void* buffer, std::size_t size) {
  if (at >= window.length) return 0;
  const std::uint64_t wanted = std::min<std::uint64_t>(size, window.length - at);
  return window.system->readAt(window.file, at, buffer, static_cast<std::size_t>(wanted));
}

uLong ZCALLBACK readWindow(voidpf, voidpf stream, void* buffer, uLong size) {
  auto& window = *static_cast<ArchiveWindow*>(stream);
  if (window.position >= window.length) return 0;
  const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(size, window.length - window.position));
  std::size_t got = 0;
  if (wanted >= kWindowBlockSize) {
    got = readWindowAt(window, window.position, buffer, wanted);
  } else {
    int index = 0;
    while (index < 2 && !(window.position >= window.blocks[index].start &&
                          window.position + wanted <= window.blocks[index].start + window.blocks[index].length)) {
      ++index;
    }
    if (index == 2) {
      index = 1 - window.lastBlock;
      WindowBlock& block = window.blocks[index];
      block.start = window.position;
      block.length = readWindowAt(window, window.position, block.bytes, kWindowBlockSize);
    }
    const WindowBlock& block = window.blocks[index];
    window.lastBlock = index;
    const std::size_t skip = static_cast<std::size_t>(window.position - block.start);
    got = std::min(wanted, block.length - skip);
    std::copy_n(block.bytes + skip, got, static_cast<unsigned char*>(buffer));
  }
  window.position += got;
  return static_cast<uLong>(got);
}

uLong ZCALLBACK writeWindow(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK tellWindow(voidpf, voidpf stream) { return static_cast<ArchiveWindow*>(stream)->position; }

long ZCALLBACK seekWindow(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  auto& window = *static_cast<ArchiveWindow*>(stream);
  std::uint64_t base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = window.position; break;
    case ZLIB_FILEFUNC_SEEK_END: base = window.length; break;
    default: return -1;
  }
  // Seeking past the end is refused, so a damaged offset in the archive reads nothing rather
  // than bytes that belong to something else.
  if (offset > window.length - std::min(base, window.length)) return -1;
  window.position = base + offset;
  return 0;
}

int ZCALLBACK closeWindow(voidpf, voidpf stream) {
  auto* window = static_cast<ArchiveWindow*>(stream);
  window->system->closeReading(window->file);
  delete window;
  return 0;
}

int ZCALLBACK windowError(voidpf, voidpf) { return 0; }

unzFile openZip(const PayloadFileSystem& system, const std::u16string& path, ArchiveWindow** opened) {
  zlib_filefunc64_def functions{};
  functions.zopen64_file = openWindow;
  functions.zread_file = readWindow;
  functions.zwrite_file = writeWindow;
  functions.ztell64_file = tellWindow;
  functions.zseek64_file = seekWindow;
  functions.zclose_file = closeWindow;
  functions.zerror_file = windowError;
  functions.opaque = nullptr;
  const OpenRequest request{&system, &path, opened};
  return unzOpen2_64(&request, &functions);
}

std::u16string folderPart(const std::u16string& name) {
  const std::size_t separator = name.find_last_of(u'\\');
  return separator == std::u16string::npos ? std::u16string() : name.substr(0, separator + 1);
}

// Reads the current entry's header and place; also gives the stored name length so that a cut name
// can be refused.
bool readInfo(PayloadArchiveReader& reader, PayloadEntryInfo& info) {
  info = PayloadEntryInfo{};
  unz64_file_pos place{};
  if (unzGetFilePos64(reader.state->zip, &place) != UNZ_OK) return false;
  info.place = {place.pos_in_zip_directory, place.num_of_file};
  unz_file_info64 raw{};
  char name[kPayloadMaxNameBytes];
  if (unzGetCurrentFileInfo64(reader.state->zip, &raw, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) {
    return false;
  }
  info.versionMadeBy = static_cast<std::uint32_t>(raw.version);
  info.versionNeeded = static_cast<std::uint32_t>(raw.version_needed);
  info.flags = static_cast<std::uint32_t>(raw.flag);
  info.compressionMethod = static_cast<std::uint32_t>(raw.compression_method);
  info.dosDateTime = static_cast<std::uint32_t>(raw.dosDate);
  info.crc32 = static_cast<std::uint32_t>(raw.crc);
  info.compressedSize = raw.compressed_size;
  info.uncompressedSize = raw.uncompressed_size;
  info.nameLength = static_cast<std::uint32_t>(raw.size_filename);
  info.extraLength = static_cast<std::uint32_t>(raw.size_file_extra);
  info.commentLength = static_cast<std::uint32_t>(raw.size_file_comment);
  info.diskNumberStart = static_cast<std::uint32_t>(raw.disk_num_start);
  info.internalAttributes = static_cast<std::uint32_t>(raw.internal_fa);
  info.externalAttributes = static_cast<std::uint32_t>(raw.external_fa);
  info.seconds = static_cast<std::uint32_t>(raw.tmu_date.tm_sec);
  info.minutes = static_cast<std::uint32_t>(raw.tmu_date.tm_min);
  info.hours = static_cast<std::uint32_t>(raw.tmu_date.tm_hour);
  info.day = static_cast<std::uint32_t>(raw.tmu_date.tm_mday);
  info.month = static_cast<std::uint32_t>(raw.tmu_date.tm_mon);
  info.year = static_cast<std::uint32_t>(raw.tmu_date.tm_year);
  std::string_view bytes(name, std::min<std::size_t>(raw.size_filename, sizeof name));
  // Windows reads the name up to its first NUL byte, so the rest never names anything.
  bytes = bytes.substr(0, bytes.find('\0'));
  if (info.flags & kPayloadNameIsUtf8) {
    info.name = decodeUtf8(bytes);
    info.nameMalformed = encodeUtf8(info.name) != bytes;  // only well-formed UTF-8 comes back the same
  } else {
    info.name = reader.fileSystem.oemToText(bytes);
  }
  std::replace(info.name.begin(), info.name.end(), u'/', u'\\');
  return true;
}

struct OpenEntryData {
  unzFile zip;
  bool open = false;
  ~OpenEntryData() {
    if (open) unzCloseCurrentFile(zip);
  }
  // Closes the entry's data; UNZ_CRCERROR when all data was read and its CRC-32 is wrong.
  int close() {
    open = false;
    return unzCloseCurrentFile(zip);
  }
};

int copyEntryData(PayloadArchiveReader& reader, OpenEntryData& data, const PayloadEntryInfo& info, void* file) {
  char* buffer = reader.state->buffer.get();
  std::uint64_t copied = 0;
  for (;;) {
    const int got = unzReadCurrentFile(data.zip, buffer, static_cast<unsigned>(kPayloadCopyBufferSize));
    if (got < 0) return got;  // damaged data: what was written stays
    if (got == 0) break;
    if (!reader.fileSystem.writeFile(file, buffer, static_cast<std::size_t>(got))) return kNotWrittenWhole;
    copied += static_cast<std::uint64_t>(got);
  }
  // A deflate stream that ends early never reaches minizip's CRC check, so the length is checked here.
  if (copied != info.uncompressedSize) return kShorterThanStated;
  return data.close();
}

// The entry's bytes decoded whole, or null when the entry is left to the stream: too large,
// damaged or not fully inside the archive (the stream then reports the fault as it always has).
const unsigned char* decodeWhole(PayloadArchiveReader& reader, const PayloadEntryInfo& info) {
  PayloadArchiveState& state = *reader.state;
  if (!fitsWhole(info.compressionMethod, info.flags, info.compressedSize, info.uncompressedSize)) return nullptr;
  const std::size_t storedSize = static_cast<std::size_t>(info.compressedSize);
  unsigned char* input = wholeEntryInput(state.whole, info.compressionMethod, storedSize);
  if (!input) return nullptr;
  // Right after the entry is opened, minizip's stream position is the start of its stored bytes.
  const std::uint64_t start = unzGetCurrentFileZStreamPos64(state.zip);
  if (readWindowAt(*state.window, start, input, storedSize) != storedSize) return nullptr;
  return decodeWholeEntry(state.whole, info.compressionMethod, storedSize,
                          static_cast<std::size_t>(info.uncompressedSize));
}

// Writes an entry decoded whole, then checks its CRC-32 as the stream would after the last byte.
int writeWholeEntry(PayloadArchiveReader& reader, const PayloadEntryInfo& info, const unsigned char* bytes,
                    void* file) {
  const std::size_t size = static_cast<std::size_t>(info.uncompressedSize);
  if (size > 0 && !reader.fileSystem.writeFile(file, bytes, size)) return kNotWrittenWhole;
  return payloadCrc32(bytes, size) == info.crc32 ? UNZ_OK : UNZ_CRCERROR;
}

// Makes `folder` (ending in "\") unless the folder made last lies inside it or is it.
bool makeFolder(PayloadArchiveReader& reader, const std::u16string& folder) {
  std::u16string& made = reader.state->madeFolder;
  if (made.compare(0, folder.size(), folder) == 0) return true;
  if (!reader.fileSystem.makeFolderPath(folder)) return false;
  made = folder;
  return true;
}

}  // namespace

PayloadFileTime payloadFileTime(std::uint32_t dosDateTime) {
  const std::uint32_t date = dosDateTime >> 16;
  const std::uint32_t time = dosDateTime & 0xFFFF;
  PayloadFileTime result;
  result.year = static_cast<int>((date >> 9) + 1980);
  result.month = static_cast<int>((date >> 5) & 0x0F);
  result.day = static_cast<int>(date & 0x1F);
  result.hour = static_cast<int>(time >> 11);
  result.minute = static_cast<int>((time >> 5) & 0x3F);
  return result;
}

PayloadArchiveReader::PayloadArchiveReader(PayloadFileSystem system) : fileSystem(std::move(system)) {}

PayloadArchiveReader::~PayloadArchiveReader() { closePayloadArchive(*this); }

bool openPayloadArchive(PayloadArchiveReader& reader, const std::u16string& path) {
  closePayloadArchive(reader);
  auto state = std::make_unique<PayloadArchiveState>();
  state->buffer.reset(new (std::nothrow) char[kPayloadCopyBufferSize]);
  if (!state->buffer) return false;
  state->zip = openZip(reader.fileSystem, path, &state->window);
  if (!state->zip) return false;
  reader.state = std::move(state);
  return true;
}

PayloadListing listPayloadEntries(PayloadArchiveReader& reader) {
  PayloadListing listing;
  if (!reader.state || !reader.state->zip) return listing;
  unzFile zip = reader.state->zip;
  unz_global_info64 global{};
  if (unzGetGlobalInfo64(zip, &global) == UNZ_OK) listing.declaredCount = global.number_entry;
  PayloadEntryInfo info;
  for (int step = unzGoToFirstFile(zip); step == UNZ_OK; step = unzGoToNextFile(zip)) {
    if (!readInfo(reader, info)) break;
    listing.entries.push_back(std::move(info));
  }
  return listing;
}

bool isPayloadFolderEntry(const PayloadEntryInfo& info) { return !info.name.empty() && info.name.back() == u'\\'; }

std::u16string payloadEntryPath(const PayloadEntryInfo& info, const std::u16string& targetFolder) {
  if (info.name.empty() || info.nameLength > kPayloadMaxNameBytes || info.nameMalformed) return {};
  const std::size_t drive = info.name.find(u":\\");
  const std::u16string relative = drive == std::u16string::npos ? info.name : info.name.substr(drive + 2);
  if (!isContainedRelativePath(relative)) return {};
  return addBackslash(targetFolder) + relative;
}

PayloadExtractionResult extractPayloadEntry(PayloadArchiveReader& reader, const PayloadEntryInfo& info,
                                            const std::u16string& path, bool folder) {
  if (path.empty()) return {PayloadExtraction::nameRefused};
  if (!reader.state || !reader.state->zip) return {PayloadExtraction::unreadable};
  const unz64_file_pos place{info.place.directoryOffset, info.place.number};
  if (const int found = unzGoToFilePos64(reader.state->zip, &place); found != UNZ_OK) {
    return {PayloadExtraction::unreadable, found};
  }
  const int opened = unzOpenCurrentFile(reader.state->zip);
  if (opened != UNZ_OK) return {PayloadExtraction::unreadable, opened};
  OpenEntryData data{reader.state->zip, true};
  if (folder) {
    return {makeFolder(reader, path) ? PayloadExtraction::extracted : PayloadExtraction::folderNotMade};
  }

  // Files of 2 GiB and more are copied like any other: the copy is streamed, and the 32-bit
  // sizes of a plain ZIP entry reach 4 GiB.
  makeFolder(reader, folderPart(path));
  const unsigned char* whole = decodeWhole(reader, info);
  const PayloadFileSystem& system = reader.fileSystem;
  void* file = system.createFile(path);
  if (!file) {
    // The folder may have gone since it was made; a retry makes every folder again.
    reader.state->madeFolder.clear();
    return {PayloadExtraction::fileNotMade};
  }
  const int copied = whole ? writeWholeEntry(reader, info, whole, file) : copyEntryData(reader, data, info, file);
  if (!system.finishFile(file, payloadFileTime(info.dosDateTime), info.externalAttributes)) {
    return {PayloadExtraction::fileNotMade};
  }
  if (copied != UNZ_OK) return {PayloadExtraction::fileCut, copied};
  return {PayloadExtraction::extracted};
}

void closePayloadArchive(PayloadArchiveReader& reader) {
  if (!reader.state) return;
  if (reader.state->zip) unzClose(reader.state->zip);  // also releases an entry left open
  reader.state.reset();
}

}  // namespace averlune

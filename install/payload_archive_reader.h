#pragma once
// PayloadArchiveReader: reads the ZIP payload archive in place from the setup program's own file
// and extracts its entries one by one into the application folder.
//
// The archive is read through minizip with our own I/O functions over a window of the file (a
// base offset and a length), so nothing is ever copied to a temporary file. Entries of up to
// kPayloadWholeEntryLimit bytes are read, inflated and written whole (payload_whole_entry.h);
// larger ones stream through buffers of kPayloadCopyBufferSize bytes, so memory does not grow with
// the size of an entry. Plain ZIP: stored and deflated entries, no encryption, no spanning.
//
// Everything that touches the target system (opening files, creating folders and files, file
// times and attributes, the OEM code page) goes through PayloadFileSystem, which the Windows build
// fills with the real calls (payload_file_system_win.h) and host tests with a recording fake.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace averlune {

constexpr std::size_t kPayloadCopyBufferSize = 102400;
// Names longer than this are cut in PayloadEntryInfo and never extracted: a cut name would write a
// different file from the one the archive names.
constexpr std::size_t kPayloadMaxNameBytes = 499;

// How the extraction of one entry ended. The archive library's own code behind an outcome goes to
// the administrator's log only (PayloadExtractionResult::zipCode): callers decide on the outcome.
enum class PayloadExtraction {
  extracted,
  nameRefused,    // the entry has no path to go to (no name, a cut or malformed one, one that would
                  // leave the target folder): nothing was written
  unreadable,     // no archive is open, or the entry could not be found or opened in it: nothing was written
  folderNotMade,  // a folder entry whose folder does not exist afterwards
  fileNotMade,    // the file could not be created, or cannot replace the file at its path: nothing
                  // at the path was changed
  fileCut,        // the file stands at its path but not as the archive holds it: its data is damaged,
                  // shorter than stated or fails its CRC-32, or it could not be written whole
};

struct PayloadExtractionResult {
  PayloadExtraction outcome = PayloadExtraction::extracted;
  int zipCode = 0;  // minizip's or zlib's code behind the outcome; 0 when it has none
};

// Bit 11 of an entry's general purpose flags (language encoding): its name is UTF-8. Today's zip
// tools set it for names outside their own code page.
constexpr std::uint32_t kPayloadNameIsUtf8 = 0x0800;

// Where an entry's header stands in the central directory: its offset there and its number.
struct PayloadEntryPlace {
  std::uint64_t directoryOffset = 0;
  std::uint64_t number = 0;
};

// The entry's central-directory header, broken down, and where it stands. Sizes are 64-bit so that
// minizip's ZIP64 reading is never cut short; every other number is as stored.
struct PayloadEntryInfo {
  PayloadEntryPlace place;
  std::uint32_t versionMadeBy = 0;
  std::uint32_t versionNeeded = 0;
  std::uint32_t flags = 0;
  std::uint32_t compressionMethod = 0;  // 0 stored, 8 deflated
  std::uint32_t dosDateTime = 0;        // date << 16 | time, local time
  std::uint32_t crc32 = 0;
  std::uint64_t compressedSize = 0;
  std::uint64_t uncompressedSize = 0;
  std::uint32_t nameLength = 0;  // stored length in bytes, also when longer than the part used
  std::uint32_t extraLength = 0;
  std::uint32_t commentLength = 0;
  std::uint32_t diskNumberStart = 0;
  std::uint32_t internalAttributes = 0;
  std::uint32_t externalAttributes = 0;  // low byte: Windows attributes (0x10 folder, 0x01 read-only)
  std::uint32_t seconds = 0;
  std::uint32_t minutes = 0;
  std::uint32_t hours = 0;
  std::uint32_t day = 0;
  std::uint32_t month = 0;  // 0 to 11
  std::uint32_t year = 0;
  // The stored bytes (at most kPayloadMaxNameBytes, up to a NUL byte), every "/" replaced by "\":
  // as UTF-8 when the flags carry kPayloadNameIsUtf8, otherwise through the OEM code page.
  std::u16string name;
  // Flagged as UTF-8 but not well-formed: `name` shows each bad unit as U+FFFD and nothing is
  // extracted, since the file written would not be the one the archive names.
  bool nameMalformed = false;
};

// A file's last-write time as local wall-clock time; seconds are always 0.
struct PayloadFileTime {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;
  int hour = 0;
  int minute = 0;
};

// The last-write time an extracted file gets: the DOS date and time with the seconds dropped.
PayloadFileTime payloadFileTime(std::uint32_t dosDateTime);

struct PayloadFileSystem {
  // Reading the archive's file: an opaque handle, null when the file cannot be opened read-only.
  std::function<void*(const std::u16string& path)> openForReading;
  std::function<bool(void* file, std::uint64_t& size)> fileSize;
  // Reads up to `size` bytes at `offset`; the number read, 0 at the end or on failure.
  std::function<std::size_t(void* file, std::uint64_t offset, void* buffer, std::size_t size)> readAt;
  std::function<void(void* file)> closeReading;

  // Creates `folder` (ending in "\") with every missing parent; true when it exists afterwards.
  std::function<bool(const std::u16string& folder)> makeFolderPath;
  // Creates the file to be written, or its replacement: an existing file at `path` keeps its
  // content until finishFile. Null when no file can be made.
  std::function<void*(const std::u16string& path)> createFile;
  std::function<bool(void* file, const void* data, std::size_t size)> writeFile;
  // Puts the written file at its path (replacing what stood there), sets its last-write time
  // (local time) and attributes (the archive's external attributes, whose low bits are Windows
  // attributes), and closes it. False when it cannot take its path: nothing there was changed.
  std::function<bool(void* file, const PayloadFileTime& time, std::uint32_t attributes)> finishFile;

  // The system's OEM code page to UTF-16.
  std::function<std::u16string(std::string_view bytes)> oemToText;
};

struct PayloadArchiveState;  // minizip's handle and our I/O window, private to the reader

// One open archive at a time; opening another releases the first.
struct PayloadArchiveReader {
  PayloadFileSystem fileSystem;
  std::unique_ptr<PayloadArchiveState> state;

  explicit PayloadArchiveReader(PayloadFileSystem system);
  ~PayloadArchiveReader();
  PayloadArchiveReader(const PayloadArchiveReader&) = delete;
  PayloadArchiveReader& operator=(const PayloadArchiveReader&) = delete;
};

// Opens the archive at the end of the setup file at `path`. The archive ends where the file's
// payload ends (before a signature's certificate table, see payloadEnd); its end record is searched
// backwards over the last 65,535 bytes before that, and bytes in front of the archive are allowed.
// False when there is no consistent archive.
bool openPayloadArchive(PayloadArchiveReader& reader, const std::u16string& path);

// Every entry of the open archive in the central directory's order, each header read once with its
// place, and the count the end record states (folder entries and empty names included). The listing
// stops at the first record that cannot be read.
struct PayloadListing {
  std::uint64_t declaredCount = 0;
  std::vector<PayloadEntryInfo> entries;
};
PayloadListing listPayloadEntries(PayloadArchiveReader& reader);

// Where the entry is written below `targetFolder` (ending in "\"): its folders are kept, after
// everything up to and including the first ":\" is dropped. Empty when nothing may be written: no
// name, a name cut for its length or malformed, or one that is absolute, carries a drive or climbs
// with "..".
std::u16string payloadEntryPath(const PayloadEntryInfo& info, const std::u16string& targetFolder);

// A folder entry: its name ends in "\". Nothing but the folder is made.
bool isPayloadFolderEntry(const PayloadEntryInfo& info);

// Extracts the entry the listing gave as `info` (found again by its place, whatever entry was
// extracted before) to `path` as payloadEntryPath gave it: a folder entry (`folder`) makes the
// folder; a file entry makes its folder and writes the file. An entry may be extracted again after
// a failure. A file whose data is damaged, shorter than stated or fails its CRC-32 is left as far
// as it was written, with its time and attributes.
PayloadExtractionResult extractPayloadEntry(PayloadArchiveReader& reader, const PayloadEntryInfo& info,
                                            const std::u16string& path, bool folder);

void closePayloadArchive(PayloadArchiveReader& reader);

}  // namespace averlune

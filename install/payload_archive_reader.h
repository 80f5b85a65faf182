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

// Results of the operations: 0 is success; callers only tell 0 from the rest. Other negative codes
// are minizip's own (UNZ_BADZIPFILE, UNZ_CRCERROR, a zlib data error, ...).
constexpr int kPayloadOk = 0;
constexpr int kPayloadFileNotWritten = -1;      // the target file was created but could not be written whole
constexpr int kPayloadEndOfList = -100;         // no further entry (minizip's UNZ_END_OF_LIST_OF_FILE)
constexpr int kPayloadNotOpen = -102;           // no archive is open
constexpr int kPayloadNameRefused = -110;       // the name would leave the target folder, or is cut
constexpr int kPayloadSizeMismatch = -111;      // the data ended before the stated size
constexpr int kPayloadFolderNotCreated = -112;  // a folder entry whose folder does not exist afterwards
constexpr int kPayloadFileNotCreated = -113;    // the target file could not be created: nothing was changed

// Bit 11 of an entry's general purpose flags (language encoding): its name is UTF-8. Today's zip
// tools set it for names outside their own code page.
constexpr std::uint32_t kPayloadNameIsUtf8 = 0x0800;

// The entry's central-directory header, broken down. Sizes are 64-bit so that minizip's ZIP64
// reading is never cut short; every other number is as stored.
struct PayloadEntryInfo {
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

// Opens the archive at the end of the setup file at `path` and makes the first entry current. The
// archive ends where the file's payload ends (before a signature's certificate table, see
// payloadEnd); its end record is searched backwards over the last 65,535 bytes before that, and
// bytes in front of the archive are allowed. False when there is no consistent archive.
bool openPayloadArchive(PayloadArchiveReader& reader, const std::u16string& path);
// The same over the `length` bytes at `offset` in the file: offsets in the archive count from
// `offset`, and nothing outside the window is read.
bool openPayloadArchiveAt(PayloadArchiveReader& reader, const std::u16string& path, std::uint64_t offset,
                          std::uint64_t length);

int firstPayloadEntry(PayloadArchiveReader& reader);
int nextPayloadEntry(PayloadArchiveReader& reader);

// Fills `info` for the current entry; on failure every number is 0 and the name empty.
int readEntryInfo(PayloadArchiveReader& reader, PayloadEntryInfo& info);

// Every entry of the open archive in the central directory's order, each header read once, and
// the count the end record states (folder entries and empty names included). The listing stops at
// the first record that cannot be read. Leaves the first entry current again.
struct PayloadListing {
  std::uint64_t declaredCount = 0;
  std::vector<PayloadEntryInfo> entries;
};
PayloadListing listPayloadEntries(PayloadArchiveReader& reader);

// Where the entry is written below `targetFolder` (ending in "\"): with `keepPaths` its folders are
// kept, after everything up to and including the first ":\" is dropped; without, only its file
// part. Empty when nothing may be written: no name, a name cut for its length or malformed, or one
// that is absolute, carries a drive or climbs with "..".
std::u16string payloadEntryPath(const PayloadEntryInfo& info, const std::u16string& targetFolder, bool keepPaths);

// A folder entry: its folders are kept and its name ends in "\". Nothing but the folder is made.
bool isPayloadFolderEntry(const PayloadEntryInfo& info, bool keepPaths);

// Extracts the current entry, whose header is `info`, to `path` as payloadEntryPath gave it: a
// folder entry makes the folder; a file entry makes its folder and writes the file. An empty path
// writes nothing and fails. A file whose data is damaged, shorter than stated or fails its CRC-32 is
// left as far as it was written, with its time and attributes, and fails; a file that could not be
// created, or cannot replace the file at its path, fails with kPayloadFileNotCreated.
int extractPayloadEntryTo(PayloadArchiveReader& reader, const PayloadEntryInfo& info, const std::u16string& path);

// Extracts the current entry below `targetFolder`. With `keepPaths` the entry's folders are
// recreated below the target, otherwise only its file part is used. A name that is absolute,
// carries a drive (after one leading "X:\" is dropped) or climbs with ".." writes nothing and
// fails. A file whose data is damaged, shorter than stated or fails its CRC-32 is left as far as it
// was written, with its time and attributes, and fails.
int extractPayloadEntry(PayloadArchiveReader& reader, const std::u16string& targetFolder, bool keepPaths);

void closePayloadArchive(PayloadArchiveReader& reader);

// The name as it is joined to the target folder: with `keepPaths` everything up to and including
// the first ":\" is dropped; without, only the text after the last "\" is kept.
std::u16string payloadRelativeName(const std::u16string& name, bool keepPaths);

}  // namespace averlune

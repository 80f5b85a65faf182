#pragma once
// A file that another program holds open: whether the next restart may replace or remove it in
// place of the run, and how the administrator's log names it.
#include <cstdint>
#include <string>
#include <vector>

namespace averlune {

// The system's answers that mean another program holds the name: a sharing violation, or access
// denied, which is what Windows answers for replacing or opening a file held without sharing
// deletion, or "cannot delete", its answer for deleting a running program's image.
constexpr std::uint32_t kStatusAccessDenied = 0xC0000022;
constexpr std::uint32_t kStatusSharingViolation = 0xC0000043;
constexpr std::uint32_t kStatusCannotDelete = 0xC0000121;

// True when a name that refused to be replaced or removed with the system's `status` may be left
// to the next restart: the refusal says the file is in use, and what stands at the name
// (`attributes`, as the name shows them; 0xFFFFFFFF when unreadable) is a plain file. A folder, a
// link or a read-only file refuse for reasons that a restart does not change, and queueing their
// replacement would only move the failure out of sight.
bool waitsForRestart(std::uint32_t status, std::uint32_t attributes);

// True when every name in `names` (what a folder reached by `folderPath`, ending in "\", holds) is
// among `queued`, paths whose deletion the next restart carries out (a folder's with or without
// its "\"; letter case aside): queued after them, the folder then goes too. Letters outside ASCII
// must match exactly, so a doubt leaves the folder.
bool holdsOnlyQueued(const std::u16string& folderPath, const std::vector<std::u16string>& names,
                     const std::vector<std::u16string>& queued);

// A file whose replacement or removal waits for the next restart, the programs that held it as the
// system named them (none where it cannot tell), and for a replacement the file that waits.
struct FileAtRestart {
  std::u16string path;
  std::vector<std::u16string> holders;
  std::u16string waitingCopy;  // a replacement's new file, which the restart renames to `path`
};

// The administrator's log line for a file left to the restart: `what` says what the restart does
// ("replaced at the next restart", "deleted at the next restart"), then the path and, when known,
// the programs that hold it: "replaced at the next restart: C:\App\a.txt (in use by Notes, Viewer)".
std::u16string fileAtRestartLogLine(const std::u16string& what, const FileAtRestart& file);

}  // namespace averlune

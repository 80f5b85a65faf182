#pragma once
// What the builder tells the author while and after it builds: how far packing the application's
// files has come, redrawn in place on one terminal line, and the closing line.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace averlune {

struct PackingProgress {
  std::size_t filesPacked = 0;
  std::size_t filesTotal = 0;
  std::uint64_t bytesPacked = 0;  // the packed files' sizes on disk
  std::uint64_t bytesTotal = 0;
};

// Called after each file is written into the payload archive, on the thread that writes it.
using PackingProgressReport = std::function<void(const PackingProgress&)>;

// "packing 1234 of 20000 files, 12.3 of 206.0 MB" (MB of 1,000,000 bytes, one decimal).
std::string progressText(const PackingProgress& progress);

// "12 bytes", "12.3 KB" or "12.3 MB" (of 1,000 and 1,000,000 bytes), as the closing line shows a size.
std::string sizeText(std::uint64_t bytes);

// "averlune-build: wrote <output> (<size>) in 1.2 s".
std::string writtenText(const std::string& output, std::uint64_t bytes, std::chrono::milliseconds took);

// The progress line on a terminal: redrawn at most every `kRedrawInterval` (a build of 20,000 small
// files would otherwise spend its time on the terminal), the last file always.
struct ProgressLine {
  static constexpr std::chrono::milliseconds kRedrawInterval{100};
  std::chrono::steady_clock::time_point drawnAt;
  std::size_t drawnWidth = 0;  // 0: nothing drawn yet
};

// What to write to the terminal for `progress` at `now`: a carriage return, the text, and spaces
// over what is left of a longer earlier text; empty when the line was drawn less than an interval
// ago and this is not the last file.
std::string redrawProgressLine(ProgressLine& line, const PackingProgress& progress,
                               std::chrono::steady_clock::time_point now);

// What wipes a drawn line so the next message starts at the line's beginning; empty when nothing
// was drawn.
std::string clearProgressLine(const ProgressLine& line);

}  // namespace averlune

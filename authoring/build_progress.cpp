#include "authoring/build_progress.h"

namespace averlune {
namespace {

// `value` / `unit` with one decimal, rounded.
std::string tenths(std::uint64_t value, std::uint64_t unit) {
  const std::uint64_t scaled = (value * 10 + unit / 2) / unit;
  return std::to_string(scaled / 10) + "." + std::to_string(scaled % 10);
}

}  // namespace

std::string progressText(const PackingProgress& progress) {
  return "packing " + std::to_string(progress.filesPacked) + " of " + std::to_string(progress.filesTotal) +
         " files, " + tenths(progress.bytesPacked, 1000000) + " of " + tenths(progress.bytesTotal, 1000000) + " MB";
}

std::string sizeText(std::uint64_t bytes) {
  if (bytes < 1000) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
  if (bytes < 999950) return tenths(bytes, 1000) + " KB";
  return tenths(bytes, 1000000) + " MB";
}

std::string writtenText(const std::string& output, std::uint64_t bytes, std::chrono::milliseconds took) {
  return "averlune-build: wrote " + output + " (" + sizeText(bytes) + ") in " +
         tenths(static_cast<std::uint64_t>(took.count()), 1000) + " s";
}

std::string redrawProgressLine(ProgressLine& line, const PackingProgress& progress,
                               std::chrono::steady_clock::time_point now) {
  const bool last = progress.filesPacked == progress.filesTotal;
  if (line.drawnWidth != 0 && !last && now - line.drawnAt < ProgressLine::kRedrawInterval) return {};
  const std::string text = progressText(progress);
  std::string drawn = "\r" + text;
  if (text.size() < line.drawnWidth) drawn.append(line.drawnWidth - text.size(), ' ');
  line.drawnAt = now;
  line.drawnWidth = text.size();
  return drawn;
}

std::string clearProgressLine(const ProgressLine& line) {
  if (line.drawnWidth == 0) return {};
  return "\r" + std::string(line.drawnWidth, ' ') + "\r";
}

}  // namespace averlune

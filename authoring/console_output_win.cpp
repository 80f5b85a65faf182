#include "authoring/console_output.h"

#include <windows.h>

#include <cstring>
#include <iostream>
#include <string>
#include <string_view>

#include "base/text_decoding.h"

namespace averlune {
namespace {

// The length of `text` without an unfinished UTF-8 sequence at its end: a stream may be flushed
// in the middle of a character, whose other bytes come with the next write.
std::size_t wholeCharacters(const std::string& text) {
  const std::size_t size = text.size();
  for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
    const auto byte = static_cast<unsigned char>(text[size - back]);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: its lead byte is further back
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    return length > back ? size - back : size;
  }
  return size;
}

class ConsoleBuffer final : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {}
  ~ConsoleBuffer() override { sync(); }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    pending_ += traits_type::to_char_type(c);
    if (c == '\n') sync();
    return c;
  }

  std::streamsize xsputn(const char* text, std::streamsize count) override {
    pending_.append(text, static_cast<std::size_t>(count));
    if (std::memchr(text, '\n', static_cast<std::size_t>(count))) sync();
    return count;
  }

  int sync() override {
    const std::size_t whole = wholeCharacters(pending_);
    if (whole == 0) return 0;
    const std::u16string text = decodeUtf8(std::string_view(pending_).substr(0, whole));
    pending_.erase(0, whole);
    DWORD written = 0;
    return WriteConsoleW(console_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ? 0 : -1;
  }

 private:
  HANDLE console_;
  std::string pending_;
};

// A buffer for the stream when `handle` is a console; none for a file, a pipe or no handle.
std::unique_ptr<std::streambuf> consoleBufferFor(DWORD handle) {
  const HANDLE console = GetStdHandle(handle);
  DWORD mode = 0;
  if (console == INVALID_HANDLE_VALUE || !console || !GetConsoleMode(console, &mode)) return nullptr;
  return std::make_unique<ConsoleBuffer>(console);
}

}  // namespace

ConsoleOutput::ConsoleOutput() : out_(consoleBufferFor(STD_OUTPUT_HANDLE)), err_(consoleBufferFor(STD_ERROR_HANDLE)) {
  if (out_) ownOut_ = std::cout.rdbuf(out_.get());
  if (err_) ownErr_ = std::cerr.rdbuf(err_.get());
}

ConsoleOutput::~ConsoleOutput() {
  if (out_) {
    std::cout.flush();
    std::cout.rdbuf(ownOut_);
  }
  if (err_) {
    std::cerr.flush();
    std::cerr.rdbuf(ownErr_);
  }
}

}  // namespace averlune

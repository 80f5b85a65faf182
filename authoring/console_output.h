#pragma once
// The Windows builder's output on a console (wmain alone uses it). Everything the builder prints is
// UTF-8, and a console shows the bytes it is given in its own code page, so a folder named "Café ☕
// Notes" came out garbled there. While a ConsoleOutput lives, std::cout and std::cerr write to a
// console as UTF-16 text (WriteConsoleW), whole characters at a time; files and pipes get the UTF-8
// bytes as before.
#include <memory>
#include <streambuf>

namespace averlune {

class ConsoleOutput {
 public:
  ConsoleOutput();
  ~ConsoleOutput();  // writes what is left and gives the streams their own buffers back
  ConsoleOutput(const ConsoleOutput&) = delete;
  ConsoleOutput& operator=(const ConsoleOutput&) = delete;

 private:
  std::unique_ptr<std::streambuf> out_, err_;
  std::streambuf* ownOut_ = nullptr;
  std::streambuf* ownErr_ = nullptr;
};

}  // namespace averlune

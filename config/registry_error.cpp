#include "config/registry_error.h"

#include <mutex>

namespace averlune {

namespace {

// Only one thread uses the library at a time; the lock keeps a misuse from becoming a data race.
struct LastErrorText {
  std::mutex lock;
  std::u16string text;
};

LastErrorText& lastErrorText() {
  static LastErrorText value;
  return value;
}

}  // namespace

void setRegistryLastError(const char16_t* text) {
  LastErrorText& last = lastErrorText();
  std::lock_guard<std::mutex> hold(last.lock);
  last.text = text;
}

void clearRegistryLastError() {
  LastErrorText& last = lastErrorText();
  std::lock_guard<std::mutex> hold(last.lock);
  last.text.clear();
}

std::u16string lastError() {
  LastErrorText& last = lastErrorText();
  std::lock_guard<std::mutex> hold(last.lock);
  std::u16string text;
  text.swap(last.text);
  return text;
}

}  // namespace averlune

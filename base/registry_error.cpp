#include "base/registry_error.h"

#include <atomic>

namespace averlune {

namespace {

// Only one thread uses the library at a time; keeping the text's address in an atomic keeps a
// misuse from becoming a data race without a lock or an allocation.
std::atomic<const char16_t*> lastErrorText{nullptr};

}  // namespace

void setRegistryLastError(const char16_t* text) { lastErrorText.store(text); }

void clearRegistryLastError() { lastErrorText.store(nullptr); }

std::u16string lastError() {
  const char16_t* text = lastErrorText.exchange(nullptr);
  return text ? std::u16string(text) : std::u16string();
}

}  // namespace averlune

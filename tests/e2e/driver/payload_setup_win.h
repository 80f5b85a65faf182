#pragma once
// Payload archives written entry by entry, for payloads the builder would never make:
// names in raw OEM bytes or flagged UTF-8 as other zip tools write them, hostile names, read-only
// entries, folder entries anywhere in the order.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/e2e/driver/setup_fixture_win.h"

namespace averlune::e2e {

struct PayloadEntry {
  std::string name;  // stored bytes exactly ("/" between levels; a folder entry ends in "/")
  std::string data;  // empty for a folder entry
  std::uint32_t externalAttributes = 0x20;
  // The stored local time: year, month (1-12), day, hour, minute, second.
  int year = 2024, month = 3, day = 15, hour = 14, minute = 35, second = 58;
  bool utf8Name = false;  // `name` is UTF-8, announced by bit 11 of the general purpose flags
};

// Writes a plain ZIP archive: files deflated, folder entries (names ending in "/", or empty)
// stored empty.
// Result: true when the archive is complete.
bool writePayloadZip(const std::wstring& archive, const std::vector<PayloadEntry>& entries);

}  // namespace averlune::e2e

#include "base/registry_text.h"

namespace averlune {

namespace {

constexpr char16_t hexDigits[] = u"0123456789ABCDEF";

int digitValue(char16_t c, int base) {
  int value = -1;
  if (c >= u'0' && c <= u'9') value = c - u'0';
  else if (c >= u'A' && c <= u'F') value = c - u'A' + 10;
  else if (c >= u'a' && c <= u'f') value = c - u'a' + 10;
  return value < base ? value : -1;
}

// The value of up to 4 hexadecimal digits after spaces are removed; false with the reason when the
// text holds none, too many or another character.
bool hexValue(const std::u16string& text, std::uint16_t& value, std::u16string_view& failure) {
  std::u16string digits;
  for (char16_t c : text) {
    if (c != u' ') digits.push_back(c);
  }
  if (digits.empty() || digits.size() > 4) {
    failure = registry_errors::hexLength;
    return false;
  }
  unsigned result = 0;
  for (char16_t c : digits) {
    int digit = digitValue(c, 16);
    if (digit < 0) {
      failure = registry_errors::hexDigit;
      return false;
    }
    result = result * 16 + static_cast<unsigned>(digit);
  }
  value = static_cast<std::uint16_t>(result);
  return true;
}

std::u16string decimalText(std::int64_t number) {
  std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string utf16Units(const std::uint8_t* data, std::size_t size) {
  std::u16string units;
  units.reserve(size / 2);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }
  return units;
}

}  // namespace

bool isRegistryRoot(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::classesRoot:
    case RegistryRoot::currentUser:
    case RegistryRoot::localMachine:
    case RegistryRoot::users:
    case RegistryRoot::performanceData:
    case RegistryRoot::currentConfig:
    case RegistryRoot::dynData:
      return true;
    case RegistryRoot::none:
      break;
  }
  return false;
}

RegistryRoot registryRootFromName(const std::u16string& name, RegistryRoot fallback) {
  if (name == u"HKEY_CLASSES_ROOT") return RegistryRoot::classesRoot;
  if (name == u"HKEY_CURRENT_USER") return RegistryRoot::currentUser;
  if (name == u"HKEY_LOCAL_MACHINE") return RegistryRoot::localMachine;
  if (name == u"HKEY_USERS") return RegistryRoot::users;
  if (name == u"HKEY_CURRENT_CONFIG") return RegistryRoot::currentConfig;
  return fallback;
}

std::u16string registryTypeName(std::uint32_t type) {
  switch (type) {
    case regSz: return u"REG_SZ";
    case regExpandSz: return u"REG_EXPAND_SZ";
    case regBinary: return u"REG_BINARY";
    case regDword: return u"REG_DWORD";
    case regMultiSz: return u"REG_MULTI_SZ";
    default: return std::u16string();
  }
}

std::u16string withoutLeadingBackslash(const std::u16string& subKey) {
  if (!subKey.empty() && subKey[0] == u'\\') return subKey.substr(1);
  return subKey;
}

std::vector<std::u16string> pruneCandidates(const std::u16string& subKey) {
  std::u16string key = withoutLeadingBackslash(subKey);
  std::vector<std::u16string> candidates;
  if (key.empty()) return candidates;
  if (key.back() != u'\\') key.push_back(u'\\');
  for (std::size_t end = key.size(); end > 0; --end) {
    if (key[end - 1] == u'\\') candidates.push_back(key.substr(0, end));
  }
  return candidates;
}

std::u16string hexTextFromBytes(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  text.reserve(size * 3);
  for (std::size_t i = 0; i < size; ++i) {
    text.push_back(hexDigits[data[i] >> 4]);
    text.push_back(hexDigits[data[i] & 0x0F]);
    text.push_back(u' ');
  }
  return text;
}

std::int64_t parseNumber(const std::u16string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
    negative = text[i] == u'-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == u'$') {
    base = 16;
    ++i;
  } else if (i < text.size() && text[i] == u'%') {
    base = 2;
    ++i;
  }
  // Unsigned arithmetic: too many digits wrap around instead of overflowing.
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    int digit = digitValue(text[i], base);
    if (digit < 0) break;
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
  }
  if (negative) value = 0 - value;
  return static_cast<std::int64_t>(value);
}

BinaryValueBytes binaryValueFromHexText(const std::u16string& text) {
  BinaryValueBytes result;
  std::size_t first = text.find_first_not_of(u' ');
  std::u16string groups;
  if (first != std::u16string::npos) groups = text.substr(first, text.find_last_not_of(u' ') - first + 1);
  groups.push_back(u' ');
  std::size_t count = groups.size() / 3;
  if (count < 1) {
    result.failure = registry_errors::sizeBelowOne;
    return result;
  }
  std::vector<std::uint8_t> bytes;
  bytes.reserve(count);
  for (std::size_t k = 0; k < count; ++k) {
    std::size_t at = 3 * k;
    if (groups[at + 2] != u' ') {
      result.failure = registry_errors::noSpace;
      return result;
    }
    // A group that is not hexadecimal refuses the whole value rather than storing a 0 byte the
    // author never wrote.
    std::uint16_t value = 0;
    if (!hexValue(groups.substr(at, 2), value, result.failure)) return result;
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
  }
  result.ok = true;
  result.bytes.swap(bytes);
  return result;
}

RegistryValueText registryValueToText(std::uint32_t type, const std::uint8_t* data, std::size_t size) {
  RegistryValueText result;
  switch (type) {
    case regSz:
    case regExpandSz: {
      std::u16string units = utf16Units(data, size);
      result.text = units.substr(0, units.find(u'\0'));
      break;
    }
    case regMultiSz: {
      // The list ends at its empty string or at the end of the data, whichever comes first.
      std::u16string units = utf16Units(data, size);
      std::size_t start = 0;
      while (start < units.size()) {
        std::size_t end = units.find(u'\0', start);
        if (end == start) break;
        if (end == std::u16string::npos) end = units.size();
        result.text.append(units, start, end - start);
        result.text.append(u"\r\n");
        start = end + 1;
      }
      break;
    }
    case regDword: {
      std::uint32_t value = 0;
      for (std::size_t i = 0; i < size && i < 4; ++i) value |= static_cast<std::uint32_t>(data[i]) << (8 * i);
      result.text = decimalText(static_cast<std::int32_t>(value));
      break;
    }
    case regBinary:
      result.text = hexTextFromBytes(data, size);
      break;
    default:
      return result;
  }
  result.ok = true;
  return result;
}

}  // namespace averlune

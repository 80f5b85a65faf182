#include "base/registry_win.h"

#include <windows.h>

#include <memory>
#include <new>
#include <utility>

#include "base/owned_handle_win.h"
#include "base/wide_text_win.h"

namespace averlune {

namespace {

HKEY rootHandle(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::classesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::currentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::localMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::users: return HKEY_USERS;
    case RegistryRoot::performanceData: return HKEY_PERFORMANCE_DATA;
    case RegistryRoot::currentConfig: return HKEY_CURRENT_CONFIG;
    case RegistryRoot::dynData: return HKEY_DYN_DATA;
    case RegistryRoot::none: break;
  }
  return nullptr;
}

// Fails with a reason: what every routine answers when it stops early.
RegistryResult failed(std::u16string_view failure) { return {false, failure}; }

RegistryText failedRead(std::u16string_view failure) { return {false, {}, failure}; }

// Root and sub key, checked in the library's order.
RegistryResult checkKey(RegistryRoot root, const std::u16string& subKey) {
  if (!isRegistryRoot(root)) return failed(registry_errors::rootNotValid);
  if (subKey.empty()) return failed(registry_errors::subKeyEmpty);
  return {true, {}};
}

bool openKey(RegistryRoot root, const std::u16string& subKey, REGSAM access, OwnedKey& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(rootHandle(root), wide(withoutLeadingBackslash(subKey)), 0, access, &opened) != ERROR_SUCCESS) {
    return false;
  }
  key.reset(opened);
  return true;
}

bool canOpenForReading(RegistryRoot root, const std::u16string& subKey) {
  OwnedKey key;
  return openKey(root, subKey, KEY_READ, key);
}

// The common start of the writers: arguments, then the key must already exist.
RegistryResult checkWriting(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                            bool nameRequired) {
  RegistryResult checked = checkKey(root, subKey);
  if (!checked.ok) return checked;
  if (nameRequired && valueName.empty()) return failed(registry_errors::valueNameEmpty);
  if (!canOpenForReading(root, subKey)) return failed(registry_errors::subKeyMissing);
  return checked;
}

RegistryResult setValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName, DWORD type,
                        const void* data, std::size_t size) {
  OwnedKey key;
  // A refused write is reported, not passed off as written.
  if (!openKey(root, subKey, KEY_ALL_ACCESS, key) ||
      RegSetValueExW(key.get(), wide(valueName), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)) !=
          ERROR_SUCCESS) {
    return failed(registry_errors::cannotWrite);
  }
  return {true, {}};
}

RegistryResult writeText(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName, DWORD type,
                         const std::u16string& text, bool nameRequired) {
  RegistryResult checked = checkWriting(root, subKey, valueName, nameRequired);
  if (!checked.ok) return checked;
  // With its terminating zero: twice the length plus 2 bytes.
  return setValue(root, subKey, valueName, type, text.c_str(), (text.size() + 1) * sizeof(char16_t));
}

}  // namespace

RegistryText readRegistryValueText(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName) {
  RegistryResult checked = checkKey(root, subKey);
  if (!checked.ok) return failedRead(checked.failure);
  if (!canOpenForReading(root, subKey)) return failedRead(registry_errors::subKeyMissing);
  OwnedKey key;
  DWORD type = 0;
  DWORD size = 0;
  if (!openKey(root, subKey, KEY_READ, key) ||
      RegQueryValueExW(key.get(), wide(valueName), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return failedRead(registry_errors::notSpecified);
  }
  // Two spare bytes so that even an empty value gets a buffer.
  std::unique_ptr<BYTE[]> data(new (std::nothrow) BYTE[size + 2]);
  if (!data) return failedRead(registry_errors::noMemory);
  DWORD readSize = size;
  if (RegQueryValueExW(key.get(), wide(valueName), nullptr, &type, data.get(), &readSize) != ERROR_SUCCESS) {
    return failedRead(registry_errors::readingKey);
  }
  RegistryValueText text = registryValueToText(type, data.get(), readSize);
  if (!text.ok) return failedRead(registry_errors::notSpecified);
  return {true, std::move(text.text), {}};
}

RegistryResult createKey(RegistryRoot root, const std::u16string& subKey) {
  RegistryResult checked = checkKey(root, subKey);
  if (!checked.ok) return checked;
  HKEY created = nullptr;
  if (RegCreateKeyExW(rootHandle(root), wide(withoutLeadingBackslash(subKey)), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &created, nullptr) != ERROR_SUCCESS) {
    return failed(registry_errors::createFailed);
  }
  const OwnedKey key(created);  // only its existence was asked for
  return checked;
}

RegistryResult keyExists(RegistryRoot root, const std::u16string& subKey) {
  RegistryResult checked = checkKey(root, subKey);
  if (!checked.ok) return checked;
  if (!canOpenForReading(root, subKey)) return failed(registry_errors::subKeyNotFound);
  return checked;
}

RegistryResult valueExists(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName) {
  RegistryResult checked = checkKey(root, subKey);
  if (!checked.ok) return checked;
  OwnedKey key;
  if (!openKey(root, subKey, KEY_READ, key)) return failed(registry_errors::subKeyNotFound);
  if (RegQueryValueExW(key.get(), wide(valueName), nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return failed(registry_errors::notSpecified);
  }
  return checked;
}

RegistryText valueTypeName(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName) {
  RegistryResult checked = checkKey(root, subKey);
  if (!checked.ok) return failedRead(checked.failure);
  if (!canOpenForReading(root, subKey)) return failedRead(registry_errors::subKeyMissing);
  OwnedKey key;
  if (!openKey(root, subKey, KEY_READ, key)) return failedRead(registry_errors::readingKey);
  // Data longer than this buffer fails the query (ERROR_MORE_DATA): such a value has no type name
  // here, so the registry list replaces it with a REG_SZ value.
  BYTE data[255];
  DWORD size = sizeof data;
  DWORD type = 0;
  if (RegQueryValueExW(key.get(), wide(valueName), nullptr, &type, data, &size) != ERROR_SUCCESS) {
    return failedRead(registry_errors::readingKey);
  }
  return {true, registryTypeName(type), {}};
}

RegistryResult writeBinaryValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                                const std::u16string& hexText) {
  RegistryResult checked = checkWriting(root, subKey, valueName, true);
  if (!checked.ok) return checked;
  BinaryValueBytes bytes = binaryValueFromHexText(hexText);
  if (!bytes.ok) return failed(bytes.failure);
  return setValue(root, subKey, valueName, REG_BINARY, bytes.bytes.data(), bytes.bytes.size());
}

RegistryResult writeDwordValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                               std::uint32_t number) {
  RegistryResult checked = checkWriting(root, subKey, valueName, true);
  if (!checked.ok) return checked;
  const BYTE data[4] = {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8), static_cast<BYTE>(number >> 16),
                        static_cast<BYTE>(number >> 24)};
  return setValue(root, subKey, valueName, REG_DWORD, data, sizeof data);
}

RegistryResult writeExpandStringValue(RegistryRoot root, const std::u16string& subKey,
                                      const std::u16string& valueName, const std::u16string& text) {
  return writeText(root, subKey, valueName, REG_EXPAND_SZ, text, true);
}

RegistryResult writeStringValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                                const std::u16string& text) {
  return writeText(root, subKey, valueName, REG_SZ, text, false);
}

RegistryResult deleteValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName) {
  RegistryResult checked = checkKey(root, subKey);
  if (!checked.ok) return checked;
  OwnedKey key;
  checked.ok =
      openKey(root, subKey, KEY_ALL_ACCESS, key) && RegDeleteValueW(key.get(), wide(valueName)) == ERROR_SUCCESS;
  return checked;
}

RegistryResult deleteKey(RegistryRoot root, const std::u16string& subKey) {
  RegistryResult checked = checkKey(root, subKey);
  if (!checked.ok) return checked;
  checked.ok = RegDeleteKeyW(rootHandle(root), wide(withoutLeadingBackslash(subKey))) == ERROR_SUCCESS;
  return checked;
}

RegistryResult deleteKeyIfEmpty(RegistryRoot root, const std::u16string& subKey) {
  RegistryResult checked = checkKey(root, subKey);
  if (!checked.ok) return checked;
  {
    OwnedKey key;
    if (!openKey(root, subKey, KEY_READ, key)) return failed({});
    // Anything but "no more items" (a name too long for the buffer included) means not empty.
    wchar_t name[256];
    DWORD nameLength = 256;
    if (RegEnumKeyExW(key.get(), 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_NO_MORE_ITEMS) {
      return failed({});
    }
    nameLength = 256;
    if (RegEnumValueW(key.get(), 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_NO_MORE_ITEMS) {
      return failed({});
    }
  }
  return deleteKey(root, subKey);
}

void pruneEmptyKeys(RegistryRoot root, const std::u16string& subKey) {
  if (!checkKey(root, subKey).ok) return;
  for (const std::u16string& candidate : pruneCandidates(subKey)) {
    deleteKeyIfEmpty(root, candidate);  // a key that is not empty simply stays
  }
}

}  // namespace averlune

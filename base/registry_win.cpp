#include "base/registry_win.h"

#include <windows.h>

#include <memory>
#include <new>

#include "base/owned_handle_win.h"
#include "base/registry_error.h"
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

// Clears the last error, then checks root and sub key in the library's order.
bool startWithKey(RegistryRoot root, const std::u16string& subKey) {
  clearRegistryLastError();
  if (!isRegistryRoot(root)) {
    setRegistryLastError(registry_errors::rootNotValid);
    return false;
  }
  if (subKey.empty()) {
    setRegistryLastError(registry_errors::subKeyEmpty);
    return false;
  }
  return true;
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
bool startWriting(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                  bool nameRequired) {
  if (!startWithKey(root, subKey)) return false;
  if (nameRequired && valueName.empty()) {
    setRegistryLastError(registry_errors::valueNameEmpty);
    return false;
  }
  if (!canOpenForReading(root, subKey)) {
    setRegistryLastError(registry_errors::subKeyMissing);
    return false;
  }
  return true;
}

bool setValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName, DWORD type,
              const void* data, std::size_t size) {
  OwnedKey key;
  if (!openKey(root, subKey, KEY_ALL_ACCESS, key)) {
    setRegistryLastError(registry_errors::cannotWrite);
    return false;
  }
  // A refused write is reported, not passed off as written.
  if (RegSetValueExW(key.get(), wide(valueName), 0, type, static_cast<const BYTE*>(data),
                     static_cast<DWORD>(size)) != ERROR_SUCCESS) {
    setRegistryLastError(registry_errors::cannotWrite);
    return false;
  }
  return true;
}

bool writeText(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName, DWORD type,
               const std::u16string& text, bool nameRequired) {
  if (!startWriting(root, subKey, valueName, nameRequired)) return false;
  // With its terminating zero: twice the length plus 2 bytes.
  return setValue(root, subKey, valueName, type, text.c_str(), (text.size() + 1) * sizeof(char16_t));
}

}  // namespace

std::u16string readRegistryValueText(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName) {
  if (!startWithKey(root, subKey)) return {};
  if (!canOpenForReading(root, subKey)) {
    setRegistryLastError(registry_errors::subKeyMissing);
    return {};
  }
  OwnedKey key;
  DWORD type = 0;
  DWORD size = 0;
  if (!openKey(root, subKey, KEY_READ, key) ||
      RegQueryValueExW(key.get(), wide(valueName), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    setRegistryLastError(registry_errors::notSpecified);
    return {};
  }
  // Two spare bytes so that even an empty value gets a buffer.
  std::unique_ptr<BYTE[]> data(new (std::nothrow) BYTE[size + 2]);
  if (!data) {
    setRegistryLastError(registry_errors::noMemory);
    return {};
  }
  DWORD readSize = size;
  if (RegQueryValueExW(key.get(), wide(valueName), nullptr, &type, data.get(), &readSize) != ERROR_SUCCESS) {
    setRegistryLastError(registry_errors::readingKey);
    return {};
  }
  RegistryValueText text = registryValueToText(type, data.get(), readSize);
  if (!text.ok) {
    setRegistryLastError(registry_errors::notSpecified);
    return {};
  }
  return text.text;
}

bool createKey(RegistryRoot root, const std::u16string& subKey) {
  if (!startWithKey(root, subKey)) return false;
  HKEY created = nullptr;
  if (RegCreateKeyExW(rootHandle(root), wide(withoutLeadingBackslash(subKey)), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &created, nullptr) != ERROR_SUCCESS) {
    setRegistryLastError(registry_errors::createFailed);
    return false;
  }
  const OwnedKey key(created);  // only its existence was asked for
  return true;
}

bool keyExists(RegistryRoot root, const std::u16string& subKey) {
  if (!startWithKey(root, subKey)) return false;
  if (!canOpenForReading(root, subKey)) {
    setRegistryLastError(registry_errors::subKeyNotFound);
    return false;
  }
  return true;
}

bool valueExists(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName) {
  if (!startWithKey(root, subKey)) return false;
  OwnedKey key;
  if (!openKey(root, subKey, KEY_READ, key)) {
    setRegistryLastError(registry_errors::subKeyNotFound);
    return false;
  }
  if (RegQueryValueExW(key.get(), wide(valueName), nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    setRegistryLastError(registry_errors::notSpecified);
    return false;
  }
  return true;
}

std::u16string valueTypeName(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName) {
  if (!startWithKey(root, subKey)) return {};
  if (!canOpenForReading(root, subKey)) {
    setRegistryLastError(registry_errors::subKeyMissing);
    return {};
  }
  OwnedKey key;
  if (!openKey(root, subKey, KEY_READ, key)) {
    setRegistryLastError(registry_errors::readingKey);
    return {};
  }
  // Data longer than this buffer fails the query (ERROR_MORE_DATA): such a value has no type name
  // here, so the registry list replaces it with a REG_SZ value.
  BYTE data[255];
  DWORD size = sizeof data;
  DWORD type = 0;
  if (RegQueryValueExW(key.get(), wide(valueName), nullptr, &type, data, &size) != ERROR_SUCCESS) {
    setRegistryLastError(registry_errors::readingKey);
    return {};
  }
  return registryTypeName(type);
}

bool writeBinaryValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                      const std::u16string& hexText) {
  if (!startWriting(root, subKey, valueName, true)) return false;
  BinaryValueBytes bytes = binaryValueFromHexText(hexText);
  if (!bytes.ok) return false;
  return setValue(root, subKey, valueName, REG_BINARY, bytes.bytes.data(), bytes.bytes.size());
}

bool writeDwordValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                     std::uint32_t number) {
  if (!startWriting(root, subKey, valueName, true)) return false;
  const BYTE data[4] = {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8), static_cast<BYTE>(number >> 16),
                        static_cast<BYTE>(number >> 24)};
  return setValue(root, subKey, valueName, REG_DWORD, data, sizeof data);
}

bool writeExpandStringValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                            const std::u16string& text) {
  return writeText(root, subKey, valueName, REG_EXPAND_SZ, text, true);
}

bool writeStringValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                      const std::u16string& text) {
  return writeText(root, subKey, valueName, REG_SZ, text, false);
}

bool deleteValue(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName) {
  if (!startWithKey(root, subKey)) return false;
  OwnedKey key;
  if (!openKey(root, subKey, KEY_ALL_ACCESS, key)) return false;
  return RegDeleteValueW(key.get(), wide(valueName)) == ERROR_SUCCESS;
}

bool deleteKey(RegistryRoot root, const std::u16string& subKey) {
  if (!startWithKey(root, subKey)) return false;
  std::u16string path = withoutLeadingBackslash(subKey);
  return RegDeleteKeyW(rootHandle(root), wide(path)) == ERROR_SUCCESS;
}

bool deleteKeyIfEmpty(RegistryRoot root, const std::u16string& subKey) {
  if (!startWithKey(root, subKey)) return false;
  {
    OwnedKey key;
    if (!openKey(root, subKey, KEY_READ, key)) return false;
    // Anything but "no more items" (a name too long for the buffer included) means not empty.
    wchar_t name[256];
    DWORD nameLength = 256;
    if (RegEnumKeyExW(key.get(), 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_NO_MORE_ITEMS) {
      return false;
    }
    nameLength = 256;
    if (RegEnumValueW(key.get(), 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_NO_MORE_ITEMS) {
      return false;
    }
  }
  std::u16string path = withoutLeadingBackslash(subKey);
  return RegDeleteKeyW(rootHandle(root), wide(path)) == ERROR_SUCCESS;
}

void pruneEmptyKeys(RegistryRoot root, const std::u16string& subKey) {
  if (!startWithKey(root, subKey)) return;
  for (const std::u16string& candidate : pruneCandidates(subKey)) {
    deleteKeyIfEmpty(root, candidate);  // a key that is not empty simply stays
  }
}

}  // namespace averlune

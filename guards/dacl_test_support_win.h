#pragma once
// What a file's DACL, read back through GetNamedSecurityInfoW, lets standard users do: for tests
// of files that a later elevated run trusts.
#include <windows.h>
#include <aclapi.h>

#include <string>

namespace averlune {

struct FileDaclFacts {
  bool read = false;         // the DACL could be read
  bool isProtected = false;  // nothing inherited from the folder
  bool usersMayRead = false;
  // Any right to change the file, delete it or its DACL, for Users, Authenticated Users or
  // Everyone.
  bool usersMayChange = false;
};

// False under Wine, which keeps a file's DACL only as its Unix permission bits and reads back one
// made from them (SYSTEM and the owner full control, Everyone as the other bits say), never
// protected: there only what the bits can say is checked.
inline bool systemKeepsDaclsAsWritten() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr;
}

inline FileDaclFacts fileDaclFacts(const std::u16string& path) {
  FileDaclFacts facts;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(reinterpret_cast<const wchar_t*>(path.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                            nullptr, nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
    return facts;
  }
  facts.read = true;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  facts.isProtected = GetSecurityDescriptorControl(descriptor, &control, &revision) && (control & SE_DACL_PROTECTED);
  if (!dacl) facts.usersMayChange = true;  // no DACL: everyone may do anything
  BYTE sids[3][SECURITY_MAX_SID_SIZE];
  const WELL_KNOWN_SID_TYPE kinds[3] = {WinBuiltinUsersSid, WinAuthenticatedUserSid, WinWorldSid};
  for (int i = 0; i < 3; ++i) {
    DWORD size = SECURITY_MAX_SID_SIZE;
    CreateWellKnownSid(kinds[i], nullptr, sids[i], &size);
  }
  const DWORD change = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC |
                       WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
  for (DWORD index = 0; dacl && index < dacl->AceCount; ++index) {
    void* ace = nullptr;
    if (!GetAce(dacl, index, &ace) || static_cast<ACE_HEADER*>(ace)->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    for (auto& sid : sids) {
      if (!EqualSid(&allowed->SidStart, sid)) continue;
      if (allowed->Mask & (FILE_READ_DATA | GENERIC_READ)) facts.usersMayRead = true;
      if (allowed->Mask & change) facts.usersMayChange = true;
    }
  }
  LocalFree(descriptor);
  return facts;
}

}  // namespace averlune

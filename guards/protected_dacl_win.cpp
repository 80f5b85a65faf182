#include "guards/protected_dacl_win.h"

#include <sddl.h>

namespace averlune {
namespace {

// P: protected, nothing inherited. FA: full control. 0x1200a9: read, execute, read attributes and
// the DACL, synchronise; no write, append, delete or write-DAC right. OICI: passed on to the files
// and folders made below.
constexpr const wchar_t* kDacls[] = {
    L"D:P(A;;FA;;;BA)(A;;FA;;;SY)(A;;0x1200a9;;;BU)",
    L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)",
    L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)",
};

}  // namespace

OwnedSecurityDescriptor protectedSecurity(ProtectedDacl dacl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kDacls[static_cast<int>(dacl)], SDDL_REVISION_1,
                                                            &descriptor, nullptr)) {
    return {};
  }
  return OwnedSecurityDescriptor(descriptor);
}

}  // namespace averlune

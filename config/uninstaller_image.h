#pragma once
// Where a setup carries its uninstaller. Every setup program holds it, packed (config/packed_bytes.h),
// as an RCDATA resource. A signature can only be made on a finished file, long after the setup
// program is linked, so a signed setup also carries the uninstaller signed like itself as a file of
// its configuration cabinet, and the setup writes that one out instead. The resource script includes
// this header too, which is why the id is a macro.
#define IDR_UNINSTALLER_IMAGE 201

#ifndef RC_INVOKED
namespace averlune {

// The cabinet file of a signed setup's uninstaller. No configuration folder may hold a file of this
// name: the setup would take it for its uninstaller.
constexpr char kCabinetUninstallerName[] = "AverluneUninstall.exe";
constexpr char16_t kCabinetUninstallerName16[] = u"AverluneUninstall.exe";

}  // namespace averlune
#endif

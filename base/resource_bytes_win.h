#pragma once
// The bytes of a program's raw-data resource (RCDATA), which live as long as the module is loaded.
#include <windows.h>

#include <string_view>

namespace averlune {

// Empty when the module has no such resource.
std::string_view resourceBytes(HMODULE module, int id);

}  // namespace averlune

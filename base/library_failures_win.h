#pragma once
// Included once, by a program's entry file: how the program meets the failures the standard
// library would report by exceptions. The program's own code is built without exceptions and
// catches none, so each of these ends the program, as an exception nobody catches would have, but
// without the exception machinery, the library's exception classes and their strings, and a C++
// name demangler that prints to a console a windowed program does not have: together more than
// 150 KB in every setup a user downloads. Code that can live with missing memory asks for it with
// std::nothrow and gets a null pointer.
#include <bits/functexcept.h>

#include <cstdlib>
#include <new>

namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_bad_function_call() { std::abort(); }
}  // namespace std

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

void* operator new(std::size_t size) {
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  std::abort();
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }

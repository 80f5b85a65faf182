#pragma once
// Owning holders for what the Windows API hands out: each closes its value exactly once, in its
// destructor or on reset(), and can be moved but not copied. Nothing in the programs closes a
// handle by hand. Windows edge only.
//
// A holder may be destroyed on any thread except where noted: window handles and GDI objects
// belong to the thread that paints with them, so the programs keep those on the main thread.
#include <windows.h>
#include <objbase.h>

#include <utility>

namespace averlune {

template <typename T, void (*closeValue)(T)>
class Owned {
 public:
  Owned() = default;
  explicit Owned(T value) : value_(value) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : value_(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~Owned() { reset(); }

  T get() const { return value_; }
  explicit operator bool() const { return value_ != T{}; }

  // Closes the held value (if any) and holds `value` instead.
  void reset(T value = T{}) {
    const T old = std::exchange(value_, value);
    if (old != T{}) closeValue(old);
  }
  // Gives up ownership without closing.
  T release() { return std::exchange(value_, T{}); }

 private:
  T value_{};
};

namespace owned_detail {
inline void closeHandle(HANDLE h) { CloseHandle(h); }
inline void closeFind(HANDLE h) { FindClose(h); }
inline void closeKey(HKEY k) { RegCloseKey(k); }
inline void freeModule(HMODULE m) { FreeLibrary(m); }
inline void deleteGdiObject(HGDIOBJ o) { DeleteObject(o); }
inline void destroyIcon(HICON i) { DestroyIcon(i); }
inline void destroyWindow(HWND w) { DestroyWindow(w); }
inline void freeShellMemory(void* p) { CoTaskMemFree(p); }
inline void releaseMutex(HANDLE h) {
  ReleaseMutex(h);  // fails harmlessly when this thread does not own it
  CloseHandle(h);
}
inline void releaseScreenDc(HDC dc) { ReleaseDC(nullptr, dc); }
inline void deleteDc(HDC dc) { DeleteDC(dc); }
}  // namespace owned_detail

// Kernel objects: files, threads, events, mutexes. Both "no handle" values of the API (NULL and
// INVALID_HANDLE_VALUE) are held as empty, so a failed CreateFileW tests false.
class OwnedHandle : public Owned<HANDLE, owned_detail::closeHandle> {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(HANDLE h) : Owned(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
};

// FindFirstFileW searches; INVALID_HANDLE_VALUE is held as empty.
class OwnedFindHandle : public Owned<HANDLE, owned_detail::closeFind> {
 public:
  OwnedFindHandle() = default;
  explicit OwnedFindHandle(HANDLE h) : Owned(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
};

using OwnedKey = Owned<HKEY, owned_detail::closeKey>;
using OwnedModule = Owned<HMODULE, owned_detail::freeModule>;
using OwnedGdiObject = Owned<HGDIOBJ, owned_detail::deleteGdiObject>;  // fonts, brushes, bitmaps
using OwnedIcon = Owned<HICON, owned_detail::destroyIcon>;
using OwnedWindow = Owned<HWND, owned_detail::destroyWindow>;  // destroyed on its own thread only
using OwnedShellMemory = Owned<void*, owned_detail::freeShellMemory>;  // item ID lists, GUID texts

// A mutex this thread owns: released, then closed. End it on the thread that took it.
using OwnedMutex = Owned<HANDLE, owned_detail::releaseMutex>;

// The screen's device context (GetDC(nullptr)) and memory device contexts (CreateCompatibleDC).
using OwnedScreenDc = Owned<HDC, owned_detail::releaseScreenDc>;
using OwnedMemoryDc = Owned<HDC, owned_detail::deleteDc>;

// COM set up for the calling thread while the holder lives. Only an initialisation that
// succeeded (S_OK or S_FALSE) is balanced; one refused because the thread runs another model is
// not, and COM still works there.
class ComInitialization {
 public:
  ComInitialization() : result_(CoInitialize(nullptr)) {}
  ComInitialization(const ComInitialization&) = delete;
  ComInitialization& operator=(const ComInitialization&) = delete;
  ~ComInitialization() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }

 private:
  HRESULT result_;
};

// A COM interface pointer: Release() once when the holder ends. `put()` is for the API's out
// parameter and releases what was held before.
template <typename I>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { reset(); }

  I* get() const { return pointer_; }
  I* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  I** put() {
    reset();
    return &pointer_;
  }
  void** putVoid() { return reinterpret_cast<void**>(put()); }
  void reset() {
    if (pointer_) std::exchange(pointer_, nullptr)->Release();
  }

 private:
  I* pointer_ = nullptr;
};

}  // namespace averlune

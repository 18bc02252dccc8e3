// Owners of the native objects a form makes for itself: each is destroyed
// with its owner, once, and never by anyone else.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace quellor::win32 {

struct WindowDestroyer {
  void operator()(HWND hwnd) const { DestroyWindow(hwnd); }
};
struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};

// A top-level window the program made and must destroy itself (a child
// window goes with its parent and needs no owner).
using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;
// A font, brush or other GDI object, deleted with its owner.
template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

}  // namespace quellor::win32

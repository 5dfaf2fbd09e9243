#pragma once

#include <windows.h>
#include <commctrl.h>

#include "base/UniqueHandle.h"

namespace zephtune::ui {

// Owners of USER and GDI handles: one traits struct per way of releasing.
struct WindowTraits {
  using Handle = HWND;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle window) noexcept { DestroyWindow(window); }
};
using UniqueWindow = UniqueHandle<WindowTraits>;

template <typename T>
struct GdiObjectTraits {
  using Handle = T;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle object) noexcept { DeleteObject(object); }
};
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;

struct MemoryDcTraits {
  using Handle = HDC;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle dc) noexcept { DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle menu) noexcept { DestroyMenu(menu); }
};
using UniqueMenu = UniqueHandle<MenuTraits>;

struct ImageListTraits {
  using Handle = HIMAGELIST;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle list) noexcept { ImageList_Destroy(list); }
};
using UniqueImageList = UniqueHandle<ImageListTraits>;

// A window's device context from GetDC (or the screen's for a null window).
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint/EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND window) noexcept : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~PaintDc() { EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const noexcept { return dc_; }
  const RECT& Area() const noexcept { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_ = nullptr;
};

// Puts a device context back the way it was found: selections, colours, clipping, origin.
class SavedDcState {
 public:
  explicit SavedDcState(HDC dc) noexcept : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDcState() {
    if (saved_ != 0) RestoreDC(dc_, saved_);
  }
  SavedDcState(const SavedDcState&) = delete;
  SavedDcState& operator=(const SavedDcState&) = delete;

 private:
  HDC dc_;
  int saved_;
};

// An object selected into a device context until the end of the scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A 32-bit top-down DIB section with access to its pixels (blue, green, red, alpha).
struct PixelBitmap {
  UniqueBitmap bitmap;
  DWORD* pixels = nullptr;  // owned by the bitmap
  int width = 0;
  int height = 0;
  bool opaque = true;  // every alpha is 255: a plain copy draws it
  explicit operator bool() const noexcept { return static_cast<bool>(bitmap); }
};

// Creates a zero-filled (fully transparent) 32-bit bitmap; empty on failure.
PixelBitmap CreatePixelBitmap(int width, int height) noexcept;

}  // namespace zephtune::ui

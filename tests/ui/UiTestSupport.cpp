#include "UiTestSupport.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "ui/Application.h"
#include "ui/Handles.h"

namespace zephtune::testing {
namespace {

ui::FormDesign TestDesign(std::wstring_view name, int clientWidth, int clientHeight, ui::CloseAction closeAction) {
  ui::FormDesign design;
  design.name = name;
  design.clientWidth = clientWidth;
  design.clientHeight = clientHeight;
  design.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  design.closeAction = closeAction;
  return design;
}

}  // namespace

TestForm::TestForm(std::wstring_view name, int clientWidth, int clientHeight, ui::CloseAction closeAction)
    : ui::Form(TestDesign(name, clientWidth, clientHeight, closeAction)) {}

ui::FontSpec TestForm::DesktopFontSpec() const { return desktopFont ? *desktopFont : Form::DesktopFontSpec(); }

void TestForm::FormShow() {
  if (onShow) onShow();
}

LRESULT TestForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (onMessage && onMessage(message, wParam, lParam, result)) return result;
  return Form::WindowProc(message, wParam, lParam);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    ui::ProcessMessages();
    if (done()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpFor(DWORD milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

LOGFONTW WindowFont(HWND window) {
  LOGFONTW font{};
  auto handle = reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0));
  if (handle != nullptr) GetObjectW(handle, sizeof(font), &font);
  return font;
}

Capture CaptureWindow(HWND window) {
  Capture capture;
  RECT frame{};
  GetWindowRect(window, &frame);
  const ui::PixelBitmap bitmap = ui::CreatePixelBitmap(frame.right - frame.left, frame.bottom - frame.top);
  if (!bitmap) return capture;
  const ui::WindowDc screen(nullptr);
  const ui::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  {
    const ui::SelectedObject selected(memory.get(), bitmap.bitmap.get());
    BitBlt(memory.get(), 0, 0, bitmap.width, bitmap.height, screen.get(), frame.left, frame.top, SRCCOPY);
  }
  GdiFlush();
  capture.width = bitmap.width;
  capture.height = bitmap.height;
  capture.pixels.assign(bitmap.pixels, bitmap.pixels + static_cast<std::size_t>(bitmap.width) * bitmap.height);
  return capture;
}

// A PNG writer small enough for a test: RGB rows in stored (uncompressed) deflate blocks.
namespace {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> entries{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      entries[n] = c;
    }
    return entries;
  }();
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  std::vector<std::uint8_t> typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  out.insert(out.end(), typed.begin(), typed.end());
  PutBigEndian(out, Crc32(typed.data(), typed.size()));
}

}  // namespace

bool WritePng(const Capture& capture, const std::wstring& path) {
  std::vector<std::uint8_t> raw;
  for (int y = 0; y < capture.height; ++y) {
    raw.push_back(0);  // no row filter
    for (int x = 0; x < capture.width; ++x) {
      const DWORD pixel = capture.At(x, y);
      raw.push_back(static_cast<std::uint8_t>(pixel >> 16));
      raw.push_back(static_cast<std::uint8_t>(pixel >> 8));
      raw.push_back(static_cast<std::uint8_t>(pixel));
    }
  }
  std::vector<std::uint8_t> zlib{0x78, 0x01};
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  for (std::size_t offset = 0; offset < raw.size() || offset == 0; offset += 65535) {
    const std::size_t length = std::min<std::size_t>(65535, raw.size() - offset);
    zlib.push_back(offset + length >= raw.size() ? 1 : 0);
    zlib.push_back(static_cast<std::uint8_t>(length));
    zlib.push_back(static_cast<std::uint8_t>(length >> 8));
    zlib.push_back(static_cast<std::uint8_t>(~length));
    zlib.push_back(static_cast<std::uint8_t>(~length >> 8));
    zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
                raw.begin() + static_cast<std::ptrdiff_t>(offset + length));
    if (raw.empty()) break;
  }
  PutBigEndian(zlib, (b << 16) | a);
  std::vector<std::uint8_t> header;
  PutBigEndian(header, static_cast<std::uint32_t>(capture.width));
  PutBigEndian(header, static_cast<std::uint32_t>(capture.height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
  std::vector<std::uint8_t> file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(file, "IHDR", header);
  PutChunk(file, "IDAT", zlib);
  PutChunk(file, "IEND", {});
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return static_cast<bool>(out);
}

}  // namespace zephtune::testing

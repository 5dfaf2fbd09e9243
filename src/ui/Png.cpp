#include "ui/Png.h"

#include <objbase.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include "base/SystemLibrary.h"

namespace zephtune::ui {
namespace {

// The part of the GDI+ flat API the decoding uses, declared here because GDI+ is loaded
// at run time (it is not one of the DLLs Windows always takes from its system directory).
using GpStatus = int;
constexpr GpStatus kOk = 0;
struct GpImage;
struct GpGraphics;
struct GpImageAttributes;
constexpr INT kPixelFormat32bppArgb = 0x0026200A;
constexpr INT kPixelFormat32bppPargb = 0x000E200B;
constexpr int kCompositingModeSourceCopy = 1;
constexpr int kInterpolationModeHighQualityBicubic = 7;
constexpr int kPixelOffsetModeHighQuality = 2;
constexpr int kWrapModeTileFlipXY = 3;  // the filter sees mirrored edges, not a dark border
constexpr int kUnitPixel = 2;
constexpr UINT kImageLockModeRead = 1;
constexpr UINT kImageLockModeUserInputBuffer = 4;

struct StartupInput {
  UINT32 version = 1;
  void* debugEventCallback = nullptr;
  BOOL suppressBackgroundThread = FALSE;
  BOOL suppressExternalCodecs = FALSE;
};

struct LockedData {
  UINT width;
  UINT height;
  INT stride;
  INT pixelFormat;
  void* scan0;
  UINT_PTR reserved;
};

struct LockRect {
  INT x;
  INT y;
  INT width;
  INT height;
};

// GDI+ loaded from the system directory and started, for one decoding.
class GdiPlus {
 public:
  GdiPlus() noexcept {
    module_ = LoadSystemLibrary(L"gdiplus.dll");
    HMODULE module = module_.get();
    startup_ = GetProc<decltype(startup_)>(module, "GdiplusStartup");
    shutdown_ = GetProc<decltype(shutdown_)>(module, "GdiplusShutdown");
    createBitmapFromStream = GetProc<decltype(createBitmapFromStream)>(module, "GdipCreateBitmapFromStream");
    createBitmapFromScan0 = GetProc<decltype(createBitmapFromScan0)>(module, "GdipCreateBitmapFromScan0");
    getImageWidth = GetProc<decltype(getImageWidth)>(module, "GdipGetImageWidth");
    getImageHeight = GetProc<decltype(getImageHeight)>(module, "GdipGetImageHeight");
    disposeImage = GetProc<decltype(disposeImage)>(module, "GdipDisposeImage");
    bitmapLockBits = GetProc<decltype(bitmapLockBits)>(module, "GdipBitmapLockBits");
    bitmapUnlockBits = GetProc<decltype(bitmapUnlockBits)>(module, "GdipBitmapUnlockBits");
    getImageGraphicsContext = GetProc<decltype(getImageGraphicsContext)>(module, "GdipGetImageGraphicsContext");
    deleteGraphics = GetProc<decltype(deleteGraphics)>(module, "GdipDeleteGraphics");
    setCompositingMode = GetProc<decltype(setCompositingMode)>(module, "GdipSetCompositingMode");
    setInterpolationMode = GetProc<decltype(setInterpolationMode)>(module, "GdipSetInterpolationMode");
    setPixelOffsetMode = GetProc<decltype(setPixelOffsetMode)>(module, "GdipSetPixelOffsetMode");
    createImageAttributes = GetProc<decltype(createImageAttributes)>(module, "GdipCreateImageAttributes");
    setImageAttributesWrapMode =
        GetProc<decltype(setImageAttributesWrapMode)>(module, "GdipSetImageAttributesWrapMode");
    disposeImageAttributes = GetProc<decltype(disposeImageAttributes)>(module, "GdipDisposeImageAttributes");
    drawImageRectRectI = GetProc<decltype(drawImageRectRectI)>(module, "GdipDrawImageRectRectI");
    const bool complete = startup_ && shutdown_ && createBitmapFromStream && createBitmapFromScan0 &&
                          getImageWidth && getImageHeight && disposeImage && bitmapLockBits && bitmapUnlockBits &&
                          getImageGraphicsContext && deleteGraphics && setCompositingMode && setInterpolationMode &&
                          setPixelOffsetMode && createImageAttributes && setImageAttributesWrapMode &&
                          disposeImageAttributes && drawImageRectRectI;
    const StartupInput input;
    if (!complete || startup_(&token_, &input, nullptr) != kOk) token_ = 0;
  }
  ~GdiPlus() {
    if (token_ != 0) shutdown_(token_);
  }
  GdiPlus(const GdiPlus&) = delete;
  GdiPlus& operator=(const GdiPlus&) = delete;
  explicit operator bool() const noexcept { return token_ != 0; }

  GpStatus(WINAPI* createBitmapFromStream)(IStream*, GpImage**) = nullptr;
  GpStatus(WINAPI* createBitmapFromScan0)(INT, INT, INT, INT, BYTE*, GpImage**) = nullptr;
  GpStatus(WINAPI* getImageWidth)(GpImage*, UINT*) = nullptr;
  GpStatus(WINAPI* getImageHeight)(GpImage*, UINT*) = nullptr;
  GpStatus(WINAPI* disposeImage)(GpImage*) = nullptr;
  GpStatus(WINAPI* bitmapLockBits)(GpImage*, const LockRect*, UINT, INT, LockedData*) = nullptr;
  GpStatus(WINAPI* bitmapUnlockBits)(GpImage*, LockedData*) = nullptr;
  GpStatus(WINAPI* getImageGraphicsContext)(GpImage*, GpGraphics**) = nullptr;
  GpStatus(WINAPI* deleteGraphics)(GpGraphics*) = nullptr;
  GpStatus(WINAPI* setCompositingMode)(GpGraphics*, int) = nullptr;
  GpStatus(WINAPI* setInterpolationMode)(GpGraphics*, int) = nullptr;
  GpStatus(WINAPI* setPixelOffsetMode)(GpGraphics*, int) = nullptr;
  GpStatus(WINAPI* createImageAttributes)(GpImageAttributes**) = nullptr;
  GpStatus(WINAPI* setImageAttributesWrapMode)(GpImageAttributes*, int, DWORD, BOOL) = nullptr;
  GpStatus(WINAPI* disposeImageAttributes)(GpImageAttributes*) = nullptr;
  GpStatus(WINAPI* drawImageRectRectI)(GpGraphics*, GpImage*, INT, INT, INT, INT, INT, INT, INT, INT, int,
                                       const GpImageAttributes*, void*, void*) = nullptr;

 private:
  UniqueModule module_;  // declared first: unloaded after the shutdown
  GpStatus(WINAPI* startup_)(ULONG_PTR*, const StartupInput*, void*) = nullptr;
  void(WINAPI* shutdown_)(ULONG_PTR) = nullptr;
  ULONG_PTR token_ = 0;
};

// Runs a release function at the end of the scope.
template <typename Release>
class Finally {
 public:
  explicit Finally(Release release) noexcept : release_(std::move(release)) {}
  ~Finally() { release_(); }
  Finally(const Finally&) = delete;
  Finally& operator=(const Finally&) = delete;

 private:
  Release release_;
};

struct GlobalTraits {
  using Handle = HGLOBAL;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle memory) noexcept { GlobalFree(memory); }
};

struct StreamTraits {
  using Handle = IStream*;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle stream) noexcept { stream->Release(); }
};

// A stream over a copy of the bytes, which GDI+ reads for as long as the image lives.
UniqueHandle<StreamTraits> StreamOver(std::span<const BYTE> bytes) noexcept {
  UniqueHandle<GlobalTraits> memory(GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
  if (!memory) return {};
  void* target = GlobalLock(memory.get());
  if (target == nullptr) return {};
  std::memcpy(target, bytes.data(), bytes.size());
  GlobalUnlock(memory.get());
  UniqueHandle<StreamTraits> stream;
  if (FAILED(CreateStreamOnHGlobal(memory.get(), TRUE, stream.put()))) return {};
  memory.release();  // the stream frees it
  return stream;
}

bool CopyPixels(GdiPlus& gdiplus, GpImage* source, PixelBitmap& target, INT format) noexcept {
  const LockRect rect{0, 0, target.width, target.height};
  LockedData data{static_cast<UINT>(target.width), static_cast<UINT>(target.height), target.width * 4, format,
                  target.pixels, 0};
  if (gdiplus.bitmapLockBits(source, &rect, kImageLockModeRead | kImageLockModeUserInputBuffer, format, &data) !=
      kOk) {
    return false;
  }
  gdiplus.bitmapUnlockBits(source, &data);
  return true;
}

bool StretchPixels(GdiPlus& gdiplus, GpImage* source, SIZE sourceSize, PixelBitmap& target, INT format) noexcept {
  GpImage* canvas = nullptr;
  if (gdiplus.createBitmapFromScan0(target.width, target.height, target.width * 4, format,
                                    reinterpret_cast<BYTE*>(target.pixels), &canvas) != kOk) {
    return false;
  }
  const Finally canvasRelease([&] { gdiplus.disposeImage(canvas); });
  GpGraphics* graphics = nullptr;
  if (gdiplus.getImageGraphicsContext(canvas, &graphics) != kOk) return false;
  const Finally graphicsRelease([&] { gdiplus.deleteGraphics(graphics); });
  GpImageAttributes* attributes = nullptr;
  if (gdiplus.createImageAttributes(&attributes) != kOk) return false;
  const Finally attributesRelease([&] { gdiplus.disposeImageAttributes(attributes); });
  gdiplus.setImageAttributesWrapMode(attributes, kWrapModeTileFlipXY, 0, FALSE);
  gdiplus.setCompositingMode(graphics, kCompositingModeSourceCopy);
  gdiplus.setInterpolationMode(graphics, kInterpolationModeHighQualityBicubic);
  gdiplus.setPixelOffsetMode(graphics, kPixelOffsetModeHighQuality);
  return gdiplus.drawImageRectRectI(graphics, source, 0, 0, target.width, target.height, 0, 0, sourceSize.cx,
                                    sourceSize.cy, kUnitPixel, attributes, nullptr, nullptr) == kOk;
}

std::uint32_t BigEndian32(const BYTE* bytes) noexcept {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
         std::uint32_t{bytes[3]};
}

}  // namespace

std::optional<SIZE> PngSize(std::span<const BYTE> png) noexcept {
  static constexpr BYTE kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (png.size() < 24 || std::memcmp(png.data(), kSignature, sizeof(kSignature)) != 0 ||
      std::memcmp(png.data() + 12, "IHDR", 4) != 0) {
    return std::nullopt;
  }
  const std::uint32_t width = BigEndian32(png.data() + 16);
  const std::uint32_t height = BigEndian32(png.data() + 20);
  // Far beyond any picture of ours, and small enough for every size computation.
  constexpr std::uint32_t kLargest = 16384;
  if (width == 0 || height == 0 || width > kLargest || height > kLargest) return std::nullopt;
  return SIZE{static_cast<LONG>(width), static_cast<LONG>(height)};
}

PixelBitmap DecodePng(std::span<const BYTE> png, int width, int height, AlphaFormat format) noexcept {
  if (width <= 0 || height <= 0 || !PngSize(png)) return {};
  GdiPlus gdiplus;
  if (!gdiplus) return {};
  const UniqueHandle<StreamTraits> stream = StreamOver(png);
  if (!stream) return {};
  GpImage* source = nullptr;
  if (gdiplus.createBitmapFromStream(stream.get(), &source) != kOk) return {};
  const Finally sourceRelease([&] { gdiplus.disposeImage(source); });
  UINT sourceWidth = 0;
  UINT sourceHeight = 0;
  if (gdiplus.getImageWidth(source, &sourceWidth) != kOk || gdiplus.getImageHeight(source, &sourceHeight) != kOk) {
    return {};
  }
  PixelBitmap result = CreatePixelBitmap(width, height);
  if (!result) return {};
  const INT pixelFormat = format == AlphaFormat::Premultiplied ? kPixelFormat32bppPargb : kPixelFormat32bppArgb;
  const bool sameSize = sourceWidth == static_cast<UINT>(width) && sourceHeight == static_cast<UINT>(height);
  const bool decoded =
      sameSize ? CopyPixels(gdiplus, source, result, pixelFormat)
               : StretchPixels(gdiplus, source, SIZE{static_cast<LONG>(sourceWidth), static_cast<LONG>(sourceHeight)},
                               result, pixelFormat);
  if (!decoded) return {};
  result.opaque = true;
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  for (std::size_t i = 0; i < count && result.opaque; ++i) result.opaque = (result.pixels[i] >> 24) == 0xFF;
  return result;
}

std::span<const BYTE> PngResource(std::wstring_view name) noexcept {
  try {
    HMODULE module = GetModuleHandleW(nullptr);
    const std::wstring resourceName(name);
    HRSRC resource = FindResourceW(module, resourceName.c_str(), RT_RCDATA);
    if (resource == nullptr) resource = FindResourceW(module, resourceName.c_str(), L"PNG");
    if (resource == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, resource);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return {};
    return std::span<const BYTE>(static_cast<const BYTE*>(bytes), SizeofResource(module, resource));
  } catch (...) {
    return {};
  }
}

}  // namespace zephtune::ui

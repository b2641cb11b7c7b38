// The slide decoder on Windows: the Windows Imaging Component to 32-bit BGRX pixels.
#include <wincodec.h>
#include <windows.h>

#include "runtime/slide_decoder.h"

namespace vk {

namespace {

constexpr UINT kStride = SlideDecoder::kWidth * 4;

// Releases a COM object at the end of its scope.
template <typename T>
struct Com {
  T* p = nullptr;
  ~Com() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
};

}  // namespace

// The handle is the thread's imaging factory. The thread gets an apartment of its own, so that
// the factory (apartment-threaded) is made in it, not in a host apartment the window's thread
// would have to serve while it waits for a slide.
SlideDecoder::SlideDecoder() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return;
  IWICImagingFactory* factory = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_PPV_ARGS(&factory)))) {
    handle_ = factory;
  } else {
    CoUninitialize();
  }
}

SlideDecoder::~SlideDecoder() {
  if (!handle_) return;
  static_cast<IWICImagingFactory*>(handle_)->Release();
  CoUninitialize();
}

size_t SlideDecoder::PictureBytes() { return size_t{kStride} * kHeight; }

bool SlideDecoder::Decode(std::span<const uint8_t> jpeg, uint8_t* memory, Picture* picture) {
  *picture = {kWidth, kHeight, Picture::Format::kBgrx, {memory}, {static_cast<int>(kStride)}};
  auto* factory = static_cast<IWICImagingFactory*>(handle_);
  if (!factory || jpeg.empty() || jpeg.size() > MAXDWORD) return false;
  Com<IWICStream> stream;
  Com<IWICBitmapDecoder> decoder;
  Com<IWICBitmapFrameDecode> frame;
  Com<IWICFormatConverter> converter;
  UINT width = 0, height = 0;
  GUID container{};
  // The stream reads the embedded bytes where they lie; nothing is copied.
  return SUCCEEDED(factory->CreateStream(&stream.p)) &&
         SUCCEEDED(stream->InitializeFromMemory(const_cast<BYTE*>(jpeg.data()),
                                                static_cast<DWORD>(jpeg.size()))) &&
         SUCCEEDED(factory->CreateDecoderFromStream(stream.p, nullptr,
                                                    WICDecodeMetadataCacheOnDemand, &decoder.p)) &&
         SUCCEEDED(decoder->GetContainerFormat(&container)) &&
         container == GUID_ContainerFormatJpeg && SUCCEEDED(decoder->GetFrame(0, &frame.p)) &&
         SUCCEEDED(frame->GetSize(&width, &height)) && width == kWidth && height == kHeight &&
         SUCCEEDED(factory->CreateFormatConverter(&converter.p)) &&
         SUCCEEDED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGR,
                                         WICBitmapDitherTypeNone, nullptr, 0,
                                         WICBitmapPaletteTypeCustom)) &&
         SUCCEEDED(converter->CopyPixels(nullptr, kStride, kStride * kHeight, memory));
}

uint8_t* SlideDecoder::Allocate(size_t bytes) {
  return static_cast<uint8_t*>(
      VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

void SlideDecoder::Free(uint8_t* memory, size_t) { VirtualFree(memory, 0, MEM_RELEASE); }

void SlideDecoder::LowerThreadPriority() {
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}

}  // namespace vk

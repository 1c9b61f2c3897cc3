#include "tests/support/Png.h"

#include <objbase.h>
#include <wincodec.h>

#include <vector>

namespace testing_support {

namespace {

// Releases a COM interface when it goes.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (pointer_) pointer_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    Interface* operator->() const { return pointer_; }
    Interface** out() { return &pointer_; }
    Interface* get() const { return pointer_; }

private:
    Interface* pointer_ = nullptr;
};

}  // namespace

bool savePng(const Capture& capture, const std::string& path) {
    if (capture.width <= 0 || capture.height <= 0) return false;
    HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool saved = false;
    {
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IWICStream> stream;
        ComPtr<IWICBitmapEncoder> encoder;
        ComPtr<IWICBitmapFrameEncode> frame;
        std::wstring widePath(path.begin(), path.end());
        // 0x00RRGGBB words are BGRA bytes; the fourth byte is unused.
        std::vector<BYTE> rows(static_cast<size_t>(capture.width) * capture.height * 4);
        for (size_t i = 0; i < capture.pixels.size(); ++i) {
            const uint32_t pixel = capture.pixels[i];
            rows[i * 4] = pixel & 0xFF;
            rows[i * 4 + 1] = (pixel >> 8) & 0xFF;
            rows[i * 4 + 2] = (pixel >> 16) & 0xFF;
            rows[i * 4 + 3] = 0xFF;
        }
        WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
        saved =
            SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IWICImagingFactory,
                                       reinterpret_cast<void**>(factory.out()))) &&
            SUCCEEDED(factory->CreateStream(stream.out())) &&
            SUCCEEDED(stream->InitializeFromFilename(widePath.c_str(), GENERIC_WRITE)) &&
            SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out())) &&
            SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
            SUCCEEDED(encoder->CreateNewFrame(frame.out(), nullptr)) &&
            SUCCEEDED(frame->Initialize(nullptr)) &&
            SUCCEEDED(frame->SetSize(static_cast<UINT>(capture.width),
                                     static_cast<UINT>(capture.height))) &&
            SUCCEEDED(frame->SetPixelFormat(&format)) &&
            IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA) &&
            SUCCEEDED(frame->WritePixels(static_cast<UINT>(capture.height),
                                         static_cast<UINT>(capture.width) * 4,
                                         static_cast<UINT>(rows.size()), rows.data())) &&
            SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return saved;
}

}  // namespace testing_support

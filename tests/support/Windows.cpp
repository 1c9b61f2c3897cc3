#include "tests/support/Windows.h"

#include <gtest/gtest.h>

namespace testing_support {

namespace {
const char kTestWindowClass[] = "StrappaTestWindow";
}

TestWindow::TestWindow(int width, int height, const char* caption, int x, int y) {
    WNDCLASSA windowClass{};
    if (!GetClassInfoA(GetModuleHandleA(nullptr), kTestWindowClass, &windowClass)) {
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kTestWindowClass;
        RegisterClassA(&windowClass);
    }
    RECT frame{0, 0, width, height};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    hwnd_ = CreateWindowExA(0, kTestWindowClass, caption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                            x, y, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                            nullptr, GetModuleHandleA(nullptr), this);
    EXPECT_NE(nullptr, hwnd_);
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    pumpMessages(0);
}

TestWindow::~TestWindow() { destroy(); }

void TestWindow::destroy() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

LRESULT CALLBACK TestWindow::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && self->onMessage && self->onMessage(message, wParam, lParam)) return 0;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void pumpMessages(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (milliseconds) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMilliseconds) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMilliseconds) return false;
        pumpMessages(0);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

Capture captureClient(HWND window) {
    UpdateWindow(window);
    Capture capture;
    RECT client{};
    GetClientRect(window, &client);
    capture.width = client.right;
    capture.height = client.bottom;
    if (capture.width <= 0 || capture.height <= 0) return capture;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC windowDC = GetDC(window);
    HBITMAP section = CreateDIBSection(windowDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(windowDC);
    HGDIOBJ previous = SelectObject(memory, section);
    BitBlt(memory, 0, 0, capture.width, capture.height, windowDC, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* source = static_cast<const uint32_t*>(bits);
    capture.pixels.assign(source, source + static_cast<size_t>(capture.width) * capture.height);
    for (auto& pixel : capture.pixels) pixel &= 0x00FFFFFF;
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(section);
    ReleaseDC(window, windowDC);
    return capture;
}

bool saveBitmap(const Capture& capture, const std::string& path) {
    const int rowBytes = (capture.width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = capture.width;
    header.biHeight = capture.height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biSizeImage = static_cast<DWORD>(rowBytes * capture.height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + header.biSizeImage;
    std::vector<uint8_t> rows(header.biSizeImage);
    for (int y = 0; y < capture.height; ++y) {
        uint8_t* row = rows.data() + static_cast<size_t>(capture.height - 1 - y) * rowBytes;
        for (int x = 0; x < capture.width; ++x) {
            uint32_t pixel = capture.at(x, y);
            row[x * 3] = pixel & 0xFF;
            row[x * 3 + 1] = (pixel >> 8) & 0xFF;
            row[x * 3 + 2] = (pixel >> 16) & 0xFF;
        }
    }
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(out, &file, sizeof(file), &written, nullptr) &&
              WriteFile(out, &header, sizeof(header), &written, nullptr) &&
              WriteFile(out, rows.data(), header.biSizeImage, &written, nullptr);
    CloseHandle(out);
    return ok;
}

}  // namespace testing_support

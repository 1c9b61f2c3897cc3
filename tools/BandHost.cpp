// Hosts the registered band the way the taskbar does, in a window shaped like a taskbar strip.
// Usage: BandHost [/x N] [/y N] [/w N] [/h N]  (position and client size of the host window)
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/BandSite.h"

namespace {

const char kHostClass[] = "StrappaBandHost";
const char kHostCaption[] = "Strappa band host";
const wchar_t kBandClsidText[] = L"{85E0B170-04FA-11D1-B7DA-00A0C90348D6}";

struct HostOptions {
    int x = 100;
    int y = 100;
    int width = 700;
    int height = 34;
};

struct HostState {
    IDeskBand* band = nullptr;
    BandSite* site = nullptr;
};

bool parseNumber(const char* text, int* value) {
    char* end = nullptr;
    long number = strtol(text, &end, 10);
    if (end == text || *end != '\0') return false;
    *value = static_cast<int>(number);
    return true;
}

bool parseOptions(int argc, char** argv, HostOptions* options) {
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc || strlen(argv[i]) != 2 || (argv[i][0] != '/' && argv[i][0] != '-')) {
            return false;
        }
        int* target = nullptr;
        switch (argv[i][1]) {
            case 'x': case 'X': target = &options->x; break;
            case 'y': case 'Y': target = &options->y; break;
            case 'w': case 'W': target = &options->width; break;
            case 'h': case 'H': target = &options->height; break;
            default: return false;
        }
        if (!parseNumber(argv[i + 1], target)) return false;
    }
    return options->width > 0 && options->height > 0;
}

// Closing the host is the taskbar dropping the band: close, cut the site, let it go.
void dropBand(HostState* state) {
    if (!state->band) return;
    state->band->CloseDW(0);
    IObjectWithSite* withSite = nullptr;
    if (SUCCEEDED(state->band->QueryInterface(IID_IObjectWithSite,
                                              reinterpret_cast<void**>(&withSite)))) {
        withSite->SetSite(nullptr);
        withSite->Release();
    }
    state->band->Release();
    state->band = nullptr;
}

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<HostState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
        case WM_NCCREATE: {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            break;
        }
        case WM_SIZE:
            if (state && state->band) fitBandWindow(state->band, window);
            return 0;
        case WM_DESTROY:
            if (state) dropBand(state);
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND createHostWindow(HINSTANCE instance, const HostOptions& options, HostState* state) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = hostProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    windowClass.lpszClassName = kHostClass;
    RegisterClassA(&windowClass);
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT frame{0, 0, options.width, options.height};
    AdjustWindowRect(&frame, style, FALSE);
    return CreateWindowExA(0, kHostClass, kHostCaption, style, options.x, options.y,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                           instance, state);
}

// A Windows program started from a command prompt has no stderr of its own; borrow the
// prompt's console so the reason for a failure is seen.
void attachParentConsole() {
    if (GetStdHandle(STD_ERROR_HANDLE)) return;
    if (AttachConsole(ATTACH_PARENT_PROCESS) && !freopen("CONOUT$", "w", stderr)) return;
}

int fail(const char* what, HRESULT result) {
    attachParentConsole();
    fprintf(stderr, "BandHost: %s (0x%08lX)\n", what, static_cast<unsigned long>(result));
    return 1;
}

int hostBand(HINSTANCE instance, const HostOptions& options) {
    CLSID bandClsid{};
    HRESULT result = CLSIDFromString(kBandClsidText, &bandClsid);
    if (FAILED(result)) return fail("the band's class id is not valid", result);

    HostState state;
    result = CoCreateInstance(bandClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDeskBand,
                              reinterpret_cast<void**>(&state.band));
    if (FAILED(result)) {
        return fail("the band class is not registered; run regsvr32 on Strappa.dll first",
                    result);
    }

    HWND host = createHostWindow(instance, options, &state);
    if (!host) {
        state.band->Release();
        return fail("the host window could not be created", HRESULT_FROM_WIN32(GetLastError()));
    }
    state.site = new BandSite(host);

    IObjectWithSite* withSite = nullptr;
    result = state.band->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite));
    if (SUCCEEDED(result)) {
        result = withSite->SetSite(static_cast<IOleWindow*>(state.site));
        withSite->Release();
    }
    if (FAILED(result)) {
        DestroyWindow(host);  // drops the band
        state.site->Release();
        return fail("the band refused the site", result);
    }

    fitBandWindow(state.band, host);
    state.band->ShowDW(TRUE);
    ShowWindow(host, SW_SHOWNORMAL);
    UpdateWindow(host);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    state.site->Release();
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HostOptions options;
    if (!parseOptions(__argc, __argv, &options)) {
        attachParentConsole();
        fprintf(stderr, "usage: BandHost [/x N] [/y N] [/w N] [/h N]\n");
        return 1;
    }
    HRESULT result = CoInitialize(nullptr);
    if (FAILED(result)) return fail("COM could not be initialised", result);
    int exitCode = hostBand(instance, options);
    CoUninitialize();
    return exitCode;
}

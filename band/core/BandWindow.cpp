// The band window: its class, its tooltip control, its window procedure, focus reporting and
// the release of the skin resources.
#include <new>

#include "band/core/DeskBand.h"
#include "band/core/PlayerStatus.h"

namespace {

// CS_VREDRAW | CS_HREDRAW | CS_GLOBALCLASS. No CS_DBLCLKS: a double click reaches the band
// as two presses, and the player is told about double clicks through ClickMode instead.
constexpr UINT kBandClassStyle = 0x4003;

void registerBandClass() {
    WNDCLASSA existing{};
    if (GetClassInfoA(moduleInstance, kBandWindowClass, &existing)) return;
    WNDCLASSA windowClass{};
    windowClass.style = kBandClassStyle;
    windowClass.lpfnWndProc = DeskBand::BandWndProc;
    windowClass.hInstance = moduleInstance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    // Lives as long as the class, which is never unregistered.
    windowClass.hbrBackground = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    windowClass.lpszClassName = kBandWindowClass;
    RegisterClassA(&windowClass);
}

HWND createTooltipControl(HWND owner) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    HWND control = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSA, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                   moduleInstance, nullptr);
    SetWindowPos(control, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return control;
}

}  // namespace

bool DeskBand::CreateBandWindow() {
    if (hwnd) return true;
    if (!hwndParent) return false;
    registerBandClass();

    RECT parent{};
    GetClientRect(hwndParent, &parent);
    Trace("Parent is %d x %d\n", parent.right - parent.left, parent.bottom - parent.top);
    // WM_NCCREATE stores the handle in `hwnd`.
    CreateWindowExA(0, kBandWindowClass, nullptr, WS_CHILD | WS_CLIPSIBLINGS, parent.left,
                    parent.top, parent.right - parent.left, parent.bottom - parent.top,
                    hwndParent, nullptr, moduleInstance, this);
    if (!hwnd) return false;  // no owner for a tooltip, which would be left stranded

    std::unique_ptr<HWND> cell(new (std::nothrow) HWND(nullptr));
    if (cell) {
        *cell = createTooltipControl(hwnd);
        Trace("Created tooltip : %u\n", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(*cell)));
        tooltip = std::move(cell);
    }
    return true;
}

LRESULT CALLBACK DeskBand::BandWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* band = static_cast<DeskBand*>(create->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(band));
        if (band) band->hwnd = window;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    // Null before WM_NCCREATE and after the band object has cut its window loose.
    auto* band = reinterpret_cast<DeskBand*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!band) return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
        case WM_PAINT:
            return band->paintBand();
        case WM_COPYDATA:
            return band->OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam),
                                    reinterpret_cast<HWND>(wParam));
        case WM_MOUSEMOVE:
            // Unsigned words: a position left of or above the window is large, never -1,
            // which is kept for the pointer leaving.
            return band->OnMouseMove(static_cast<int32_t>(LOWORD(lParam)),
                                     static_cast<int32_t>(HIWORD(lParam)));
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            return band->OnMouseButton(message);
        case WM_MOUSELEAVE:
            Trace("received leave\n");
            band->pressed = false;
            return band->OnMouseMove(-1, -1);
        case WM_SETFOCUS:
            band->OnFocusChange(TRUE);
            return 0;
        case WM_KILLFOCUS:
            band->OnFocusChange(FALSE);
            return 0;
        case WM_COMMAND:
        case WM_SIZE:
            return 0;
        case WM_NCDESTROY:
            // Destroyed with its parent, without CloseDW: forget the handle so that a later
            // close or release never acts on a window that reuses it.
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            if (band->hwnd == window) band->hwnd = nullptr;
            return DefWindowProcA(window, message, wParam, lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

void DeskBand::OnFocusChange(BOOL focused) {
    hasFocus = focused;
    if (inputSite) inputSite->OnFocusChangeIS(static_cast<IDeskBand*>(this), focused);
}

void DeskBand::ReleaseSkinResources() {
    for (int slot = kSkinBand; slot < kSkinSlots; ++slot) {
        if (skinDCs[slot]) {
            // Take the background bitmap out of the DC before either is deleted.
            SelectObject(skinDCs[slot]->dc, skinOldBitmaps[slot]);
            skinDCs[slot].reset();
        }
        if (skinBitmaps[slot]) {
            DeleteObject(skinBitmaps[slot]);
            skinBitmaps[slot] = nullptr;
        }
    }
    if (imageList) {
        ImageList_Destroy(imageList);
        imageList = nullptr;
    }
    if (font) {
        DeleteObject(font);
        font = nullptr;
    }
}

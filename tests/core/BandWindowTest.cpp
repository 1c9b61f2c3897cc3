#include <gtest/gtest.h>

#include <string>

#include "band/display/MemoryDC.h"
#include "tests/core/BandOnParent.h"

namespace {

std::string classOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

int childCount(HWND parent) {
    int count = 0;
    EnumChildWindows(
        parent, [](HWND, LPARAM counter) -> BOOL {
            ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

using BandWindow = BandOnParent;

TEST_F(BandWindow, IsAHiddenChildFillingTheParentWithItsTooltip) {
    ASSERT_TRUE(band->CreateBandWindow());
    HWND window = band->hwnd;
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ("ZAXDeskBandClass", classOf(window));
    EXPECT_EQ(parent.handle(), GetParent(window));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(band), GetWindowLongPtrA(window, GWLP_USERDATA));
    LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(static_cast<LONG>(WS_CHILD | WS_CLIPSIBLINGS),
              style & (WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE | WS_POPUP));
    EXPECT_EQ(0x4003u, GetClassLongPtrA(window, GCL_STYLE));
    RECT bandRect{}, parentRect{};
    GetClientRect(window, &bandRect);
    GetClientRect(parent.handle(), &parentRect);
    EXPECT_EQ(parentRect.right, bandRect.right);
    EXPECT_EQ(parentRect.bottom, bandRect.bottom);

    ASSERT_NE(nullptr, band->tooltip.get());
    HWND tip = *band->tooltip;
    ASSERT_TRUE(IsWindow(tip));
    EXPECT_EQ("tooltips_class32", classOf(tip));
    // A popup created with a child as its parent is owned by that child's top-level window.
    EXPECT_EQ(GetAncestor(window, GA_ROOT), GetWindow(tip, GW_OWNER));
    LONG tipStyle = GetWindowLongA(tip, GWL_STYLE);
    EXPECT_EQ(static_cast<LONG>(WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP),
              tipStyle & static_cast<LONG>(WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP));
    EXPECT_TRUE(GetWindowLongA(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(BandWindow, SecondCreateMakesNothing) {
    ASSERT_TRUE(band->CreateBandWindow());
    HWND window = band->hwnd;
    HWND tip = band->tooltipWindow();
    int children = childCount(parent.handle());
    EXPECT_TRUE(band->CreateBandWindow());
    EXPECT_EQ(window, band->hwnd);
    EXPECT_EQ(tip, band->tooltipWindow());
    EXPECT_EQ(children, childCount(parent.handle()));
}

TEST_F(BandWindow, WithoutParentNothingIsMade) {
    band->hwndParent = nullptr;
    EXPECT_FALSE(band->CreateBandWindow());
    EXPECT_EQ(nullptr, band->hwnd);
    EXPECT_EQ(nullptr, band->tooltip.get());
}

TEST_F(BandWindow, SecondBandReusesTheRegisteredClass) {
    ASSERT_TRUE(band->CreateBandWindow());
    WNDCLASSA registered{};
    EXPECT_TRUE(GetClassInfoA(moduleInstance, "ZAXDeskBandClass", &registered));

    auto* second = new DeskBand;
    second->hwndParent = parent.handle();
    ASSERT_TRUE(second->CreateBandWindow());
    EXPECT_NE(band->hwnd, second->hwnd);
    EXPECT_EQ(GetClassWord(band->hwnd, GCW_ATOM), GetClassWord(second->hwnd, GCW_ATOM));
    second->CloseDW(0);
    second->Release();
}

TEST_F(BandWindow, MouseLeaveClearsPressed) {
    ASSERT_TRUE(band->CreateBandWindow());
    band->pressed = true;
    SendMessageA(band->hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(band->pressed);
    EXPECT_EQ(kHoverNothing, band->hoverIndex);
}

TEST_F(BandWindow, MouseMoveCoordinatesAreUnsignedWords) {
    ASSERT_TRUE(band->CreateBandWindow());
    // A time box reaching past 65535 holds a position left of the window only when its
    // x arrives as an unsigned word.
    band->timeLeft = 60000;
    band->trackLeft = 70000;
    SendMessageA(band->hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(-5), 4));
    EXPECT_EQ(kHoverTimeBox, band->hoverIndex);
}

TEST_F(BandWindow, WindowCutLooseFromItsBandOnlyUsesDefaults) {
    ASSERT_TRUE(band->CreateBandWindow());
    HWND window = band->hwnd;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    band->pressed = true;
    COPYDATASTRUCT record{3, 16, nullptr};
    int32_t times[4] = {1, 2, 3, 4};
    record.lpData = times;
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    SendMessageA(window, WM_COPYDATA, reinterpret_cast<WPARAM>(parent.handle()),
                 reinterpret_cast<LPARAM>(&record));
    SendMessageA(window, WM_SETFOCUS, 0, 0);
    EXPECT_TRUE(band->pressed);
    EXPECT_EQ(nullptr, band->hwndPlayer);
    EXPECT_FALSE(band->hasFocus);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(band));
}

// Records what the band tells its site about focus.
class FocusSite final : public IInputObjectSite {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IInputObjectSite)) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }
    STDMETHODIMP OnFocusChangeIS(IUnknown* object, BOOL focused) override {
        lastObject = object;
        lastFocus = focused;
        ++calls;
        return S_OK;
    }
    ULONG references = 1;
    IUnknown* lastObject = nullptr;
    BOOL lastFocus = -1;
    int calls = 0;
};

TEST_F(BandWindow, FocusChangesReachTheSite) {
    ASSERT_TRUE(band->CreateBandWindow());
    FocusSite site;
    site.AddRef();
    band->inputSite = &site;

    EXPECT_EQ(0, SendMessageA(band->hwnd, WM_SETFOCUS, 0, 0));
    EXPECT_TRUE(band->hasFocus);
    EXPECT_EQ(1, site.calls);
    EXPECT_TRUE(site.lastFocus);
    EXPECT_EQ(static_cast<IUnknown*>(static_cast<IDeskBand*>(band)), site.lastObject);

    EXPECT_EQ(0, SendMessageA(band->hwnd, WM_KILLFOCUS, 0, 0));
    EXPECT_FALSE(band->hasFocus);
    EXPECT_EQ(2, site.calls);
    EXPECT_FALSE(site.lastFocus);

    band->inputSite->Release();
    band->inputSite = nullptr;
    band->OnFocusChange(TRUE);  // no site: only the field
    EXPECT_TRUE(band->hasFocus);
}

TEST_F(BandWindow, ReleasingSkinResourcesTwiceIsHarmless) {
    band->ReleaseSkinResources();
    band->ReleaseSkinResources();
    EXPECT_EQ(nullptr, band->imageList);

    // Resources as a paint leaves them: a background bitmap selected into its slot's DC.
    HDC screen = GetDC(nullptr);
    HBITMAP background = CreateCompatibleBitmap(screen, 8, 8);
    band->skinDCs[kSkinTrack] = std::make_unique<MemoryDC>(screen, 8, 8);
    band->skinDCs[kSkinTrack]->clear(8, 8, RGB(1, 2, 3));
    band->skinOldBitmaps[kSkinTrack] = SelectObject(band->skinDCs[kSkinTrack]->dc, background);
    band->skinBitmaps[kSkinTrack] = background;
    band->skinBitmaps[kSkinTime] = CreateCompatibleBitmap(screen, 4, 4);
    HBITMAP loose = band->skinBitmaps[kSkinTime];
    ReleaseDC(nullptr, screen);
    band->imageList = ImageList_Create(16, 16, ILC_COLOR24, 4, 0);
    band->font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
    HFONT font = band->font;

    band->ReleaseSkinResources();
    EXPECT_EQ(nullptr, band->skinDCs[kSkinTrack]);
    EXPECT_EQ(nullptr, band->skinBitmaps[kSkinTrack]);
    EXPECT_EQ(nullptr, band->skinBitmaps[kSkinTime]);
    EXPECT_EQ(nullptr, band->imageList);
    EXPECT_EQ(nullptr, band->font);
    // Deleted, which a bitmap still selected into a DC would not be.
    EXPECT_EQ(0u, GetObjectType(background));
    EXPECT_EQ(0u, GetObjectType(loose));
    EXPECT_EQ(0u, GetObjectType(font));

    band->ReleaseSkinResources();
    EXPECT_EQ(nullptr, band->imageList);
}

}  // namespace

TEST_F(BandWindow, WindowDestroyedWithItsParentIsForgotten) {
    ASSERT_TRUE(band->CreateBandWindow());
    HWND window = band->hwnd;
    parent.destroy();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, band->hwnd);
    // A new window of the same thread may now get any handle; closing the band must not touch it.
    testing_support::TestWindow bystander(100, 30, "Bystander");
    EXPECT_EQ(S_OK, band->CloseDW(0));
    EXPECT_TRUE(IsWindow(bystander.handle()));
}

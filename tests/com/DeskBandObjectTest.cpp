#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "band/core/DeskBand.h"
#include "band/core/PlayerStatus.h"
#include "tests/support/Registry.h"
#include "tests/support/Windows.h"
#include "tools/BandSite.h"

namespace {

using testing_support::TestWindow;

// A site that offers only a window, possibly none: what a careless host gives the band.
class WindowOnlySite final : public IOleWindow {
public:
    explicit WindowOnlySite(HWND window) : window_(window) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        *out = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IOleWindow)) {
            return E_NOINTERFACE;
        }
        *out = static_cast<IOleWindow*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refCount; }
    STDMETHODIMP_(ULONG) Release() override { return --refCount; }
    STDMETHODIMP GetWindow(HWND* window) override {
        *window = window_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    ULONG refCount = 1;

private:
    HWND window_;
};

class DeskBandObject : public ::testing::Test {
protected:
    testing_support::VendorKeyScratch scratch;
    DeskBand* band = new DeskBand;
    void TearDown() override {
        if (band) band->Release();
    }
};

TEST_F(DeskBandObject, QueryInterfaceGivesEachFaceAndRefusesTheRest) {
    IUnknown* primary = static_cast<IDeskBand*>(band);
    struct Face {
        const char* name;
        REFIID iid;
        IUnknown* expected;
    };
    const Face faces[] = {
        {"IUnknown", IID_IUnknown, primary},
        {"IOleWindow", IID_IOleWindow, primary},
        {"IDockingWindow", IID_IDockingWindow, primary},
        {"IDeskBand", IID_IDeskBand, primary},
        {"IInputObject", IID_IInputObject, static_cast<IInputObject*>(band)},
        {"IObjectWithSite", IID_IObjectWithSite, static_cast<IObjectWithSite*>(band)},
        {"IPersist", IID_IPersist, static_cast<IPersistStream*>(band)},
        {"IPersistStream", IID_IPersistStream, static_cast<IPersistStream*>(band)},
        {"IContextMenu", IID_IContextMenu, static_cast<IContextMenu*>(band)},
    };
    for (const Face& face : faces) {
        SCOPED_TRACE(face.name);
        void* out = nullptr;
        ASSERT_EQ(S_OK, band->QueryInterface(face.iid, &out));
        EXPECT_EQ(static_cast<void*>(face.expected), out);
        EXPECT_EQ(2, band->refCount);
        // Every face leads back to the one identity.
        void* identity = nullptr;
        ASSERT_EQ(S_OK, static_cast<IUnknown*>(out)->QueryInterface(IID_IUnknown, &identity));
        EXPECT_EQ(static_cast<void*>(primary), identity);
        static_cast<IUnknown*>(identity)->Release();
        static_cast<IUnknown*>(out)->Release();
        EXPECT_EQ(1, band->refCount);
    }

    const IID* refused[] = {&IID_IPersistStreamInit, &IID_IClassFactory, &IID_IDispatch,
                            &IID_IInputObjectSite, &IID_IOleObject};
    for (const IID* iid : refused) {
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(E_NOINTERFACE, static_cast<IContextMenu*>(band)->QueryInterface(*iid, &out));
        EXPECT_EQ(nullptr, out);
        EXPECT_EQ(1, band->refCount);
    }
}

TEST_F(DeskBandObject, GetBandInfoFillsWhatTheMaskAsks) {
    const DWORD kAll = DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_INTEGRAL | DBIM_ACTUAL | DBIM_TITLE |
                       DBIM_MODEFLAGS;
    struct Case {
        DWORD mask;
        DWORD viewMode;
        DWORD maskAfter;
        POINTL minSize, maxSize, integral, actual;
    };
    const POINTL untouched{0x5A5A5A5A, 0x5A5A5A5A};
    const Case cases[] = {
        {DBIM_MINSIZE, DBIF_VIEWMODE_NORMAL, DBIM_MINSIZE, {100, 18}, untouched, untouched,
         untouched},
        {DBIM_MINSIZE, DBIF_VIEWMODE_VERTICAL, DBIM_MINSIZE, {100, 18}, untouched, untouched,
         untouched},
        {DBIM_MINSIZE, DBIF_VIEWMODE_FLOATING, DBIM_MINSIZE, {200, 400}, untouched, untouched,
         untouched},
        {DBIM_MAXSIZE | DBIM_INTEGRAL, DBIF_VIEWMODE_NORMAL, DBIM_MAXSIZE | DBIM_INTEGRAL,
         untouched, {500, 32}, {1, 1}, untouched},
        {DBIM_ACTUAL, DBIF_VIEWMODE_NORMAL, DBIM_ACTUAL, untouched, untouched, untouched,
         {100, 23}},
        {DBIM_BKCOLOR | DBIM_MODEFLAGS, DBIF_VIEWMODE_NORMAL, DBIM_MODEFLAGS, untouched, untouched,
         untouched, untouched},
        {kAll | DBIM_BKCOLOR, DBIF_VIEWMODE_FLOATING | DBIF_VIEWMODE_VERTICAL, kAll, {200, 400},
         {500, 32}, {1, 1}, {100, 23}},
    };
    DWORD bandId = 7;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mask 0x" << std::hex << c.mask << " mode 0x"
                                        << c.viewMode);
        DESKBANDINFO info;
        memset(&info, 0x5A, sizeof info);
        info.dwMask = c.mask;
        ASSERT_EQ(S_OK, band->GetBandInfo(bandId, c.viewMode, &info));
        EXPECT_EQ(bandId, band->bandId);
        EXPECT_EQ(c.viewMode, band->viewMode);
        EXPECT_EQ(c.maskAfter, info.dwMask);
        auto same = [](POINTL a, POINTL b) { return a.x == b.x && a.y == b.y; };
        EXPECT_TRUE(same(c.minSize, info.ptMinSize)) << info.ptMinSize.x << "," << info.ptMinSize.y;
        EXPECT_TRUE(same(c.maxSize, info.ptMaxSize));
        EXPECT_TRUE(same(c.integral, info.ptIntegral));
        EXPECT_TRUE(same(c.actual, info.ptActual));
        EXPECT_EQ(c.mask & DBIM_MODEFLAGS ? DWORD{DBIMF_VARIABLEHEIGHT} : 0x5A5A5A5Au,
                  info.dwModeFlags);
        EXPECT_EQ(c.mask & DBIM_TITLE ? L'\0' : static_cast<WCHAR>(0x5A5A), info.wszTitle[0]);
        EXPECT_EQ(0x5A5A5A5Au, info.crBkgnd) << "the background colour is never written";
        ++bandId;
    }

    EXPECT_EQ(E_INVALIDARG, band->GetBandInfo(99, DBIF_VIEWMODE_VERTICAL, nullptr));
    EXPECT_NE(99u, band->bandId);
}

TEST_F(DeskBandObject, GetCommandStringAnswersAndStaysInsideTheBuffer) {
    struct Case {
        UINT_PTR command;
        UINT type;
        HRESULT expected;
        const char* text;  // what a 64-byte buffer receives; null: left alone
    };
    const Case cases[] = {
        {0, GCS_VERBA, S_OK, "command"},
        {0, GCS_HELPTEXTA, S_OK, "Desk Band command help text"},
        {1, GCS_VERBA, E_INVALIDARG, nullptr},
        {1, GCS_HELPTEXTA, E_INVALIDARG, nullptr},
        {0, GCS_VALIDATEA, S_OK, nullptr},
        {5, GCS_VALIDATEA, S_OK, nullptr},
        {0, GCS_VERBW, E_INVALIDARG, nullptr},
        {0, GCS_HELPTEXTW, E_INVALIDARG, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "command " << c.command << " type " << c.type);
        char wide[64];
        memset(wide, '#', sizeof wide);
        EXPECT_EQ(c.expected, band->GetCommandString(c.command, c.type, nullptr, wide, sizeof wide));
        if (c.text) {
            EXPECT_STREQ(c.text, wide);
        } else {
            EXPECT_EQ('#', wide[0]);
        }

        // A 3-byte buffer gets a terminated prefix and not a byte more.
        char narrow[3 + 8];
        memset(narrow, '#', sizeof narrow);
        EXPECT_EQ(c.expected, band->GetCommandString(c.command, c.type, nullptr, narrow, 3));
        if (c.text) {
            EXPECT_EQ(std::string(c.text, 2), std::string(narrow));
        }
        EXPECT_EQ(std::string(8, '#'), std::string(narrow + 3, 8));
    }
}

TEST_F(DeskBandObject, StubsAndWindowlessCallsAnswerAsTheShellExpects) {
    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof invoke;
    invoke.lpVerb = MAKEINTRESOURCEA(0);
    EXPECT_EQ(S_OK, band->InvokeCommand(&invoke));
    invoke.lpVerb = MAKEINTRESOURCEA(1);
    EXPECT_EQ(E_INVALIDARG, band->InvokeCommand(&invoke));

    HMENU menu = CreatePopupMenu();
    EXPECT_EQ(S_OK, band->QueryContextMenu(menu, 0, 1, 100, CMF_NORMAL));
    EXPECT_EQ(0, GetMenuItemCount(menu));
    DestroyMenu(menu);

    CLSID clsid{};
    EXPECT_EQ(S_OK, band->GetClassID(&clsid));
    EXPECT_TRUE(IsEqualCLSID(BandClsid, clsid));
    EXPECT_EQ(S_FALSE, band->IsDirty());
    EXPECT_EQ(S_OK, band->Load(nullptr));
    EXPECT_EQ(S_OK, band->Save(nullptr, TRUE));
    ULARGE_INTEGER size{};
    EXPECT_EQ(E_NOTIMPL, band->GetSizeMax(&size));
    EXPECT_EQ(E_NOTIMPL, band->ContextSensitiveHelp(TRUE));
    EXPECT_EQ(E_NOTIMPL, band->ResizeBorderDW(nullptr, nullptr, FALSE));
    EXPECT_EQ(S_FALSE, band->TranslateAcceleratorIO(nullptr));

    // Without a window the window methods do nothing and still succeed.
    HWND window = reinterpret_cast<HWND>(1);
    EXPECT_EQ(S_OK, band->GetWindow(&window));
    EXPECT_EQ(nullptr, window);
    EXPECT_EQ(S_OK, band->ShowDW(TRUE));
    EXPECT_EQ(S_OK, band->UIActivateIO(TRUE, nullptr));
    EXPECT_EQ(S_FALSE, band->HasFocusIO());
    EXPECT_EQ(S_OK, band->CloseDW(0));
    void* site = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_FAIL, band->GetSite(IID_IUnknown, &site));
    EXPECT_EQ(nullptr, site);
}

TEST_F(DeskBandObject, SetSiteFailsWithoutAWindowOrInputSite) {
    WindowOnlySite noWindow(nullptr);
    EXPECT_EQ(E_FAIL, band->SetSite(&noWindow));
    EXPECT_EQ(nullptr, band->hwnd);

    TestWindow parent(400, 30);
    WindowOnlySite windowOnly(parent.handle());
    EXPECT_EQ(E_FAIL, band->SetSite(&windowOnly));
    EXPECT_TRUE(IsWindow(band->hwnd)) << "the window is made before the input site is asked";
    EXPECT_EQ(parent.handle(), GetParent(band->hwnd));
    EXPECT_EQ(nullptr, band->inputSite);
    EXPECT_EQ(S_OK, band->CloseDW(0));
    EXPECT_EQ(1u, windowOnly.refCount) << "the band keeps no reference to a site it refused";
}

TEST_F(DeskBandObject, CloseTwiceThenSetSiteMakesANewWindow) {
    TestWindow parent(400, 30);
    auto* site = new BandSite(parent.handle());
    ASSERT_EQ(S_OK, band->SetSite(static_cast<IOleWindow*>(site)));
    HWND first = band->hwnd;
    HWND firstTooltip = band->tooltipWindow();
    ASSERT_TRUE(IsWindow(first));
    ASSERT_TRUE(IsWindow(firstTooltip));

    EXPECT_EQ(S_OK, band->CloseDW(0));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(IsWindow(firstTooltip)) << "no tooltip control left with the taskbar";
    EXPECT_EQ(nullptr, band->hwnd);
    EXPECT_EQ(nullptr, band->tooltip.get());
    EXPECT_EQ(S_OK, band->CloseDW(0));

    ASSERT_EQ(S_OK, band->SetSite(static_cast<IOleWindow*>(site)));
    EXPECT_TRUE(IsWindow(band->hwnd));
    EXPECT_NE(nullptr, band->tooltipWindow());

    // Dropping the site keeps the window; only the input site goes.
    EXPECT_EQ(S_OK, band->SetSite(nullptr));
    EXPECT_EQ(nullptr, band->inputSite);
    EXPECT_TRUE(IsWindow(band->hwnd));
    EXPECT_EQ(S_OK, band->CloseDW(0));
    site->Release();
}

TEST_F(DeskBandObject, LastReleaseWithoutCloseLeavesNoLiveWindowBehind) {
    TestWindow parent(400, 30);
    auto* site = new BandSite(parent.handle());
    ASSERT_EQ(S_OK, band->SetSite(static_cast<IOleWindow*>(site)));
    band->ShowDW(TRUE);
    SetFocus(band->hwnd);
    testing_support::pumpMessages(50);
    HWND old = band->hwnd;
    HWND tooltip = band->tooltipWindow();
    LONG before = objectCount;

    EXPECT_EQ(0u, band->Release());
    band = nullptr;
    EXPECT_EQ(before - 1, objectCount);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_FALSE(IsWindow(tooltip));

    // Stray messages to the former handle reach no freed object.
    int32_t times[4] = {1, 2, 3, -4};
    COPYDATASTRUCT record{3, sizeof times, times};
    SendMessageA(old, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
    SendMessageA(old, WM_PAINT, 0, 0);
    SendMessageA(old, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(old, WM_SETFOCUS, 0, 0);
    testing_support::pumpMessages(20);
    site->Release();
}

}  // namespace

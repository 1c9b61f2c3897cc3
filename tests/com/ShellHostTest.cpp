#include <gtest/gtest.h>

#include <shlobj.h>
#include <shobjidl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/com/ComServer.h"
#include "tests/support/Registry.h"
#include "tests/support/Windows.h"
#include "tools/BandSite.h"

namespace {

using namespace com_testing;
using testing_support::Capture;
using testing_support::captureClient;
using testing_support::pumpMessages;
using testing_support::pumpUntil;
using testing_support::TestWindow;

const char kSettingsKey[] = "Software\\Vantorel\\Strappa Plugin";

class ComRuntime {
public:
    ComRuntime() { EXPECT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    ~ComRuntime() { CoUninitialize(); }
};

size_t differingPixels(const Capture& a, const Capture& b) {
    if (a.width != b.width || a.height != b.height) return SIZE_MAX;
    size_t count = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) count += a.pixels[i] != b.pixels[i];
    return count;
}

void sendTimes(HWND band, HWND sender, int32_t position, int32_t length, int32_t elapsed,
               int32_t remaining) {
    int32_t times[4] = {position, length, elapsed, remaining};
    COPYDATASTRUCT record{3, sizeof times, times};
    SendMessageA(band, WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                 reinterpret_cast<LPARAM>(&record));
}

// The shell's whole conversation with the band, through the registry and the COM runtime.
TEST(ShellHost, HostsPaintsFocusesAndClosesTheBand) {
    ASSERT_EQ(0, regsvr32("/s"));
    testing_support::VendorKeyScratch scratch;
    testing_support::setDword(kSettingsKey, "DisplayTrack", 0);  // only buttons and time box
    SetCursorPos(1270, 1010);
    ComRuntime com;

    TestWindow parent(700, 34);
    IDeskBand* band = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(bandClsid(), nullptr, CLSCTX_INPROC_SERVER, IID_IDeskBand,
                                     reinterpret_cast<void**>(&band)));
    IObjectWithSite* withSite = nullptr;
    ASSERT_EQ(S_OK, band->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite)));
    IInputObject* input = nullptr;
    ASSERT_EQ(S_OK, band->QueryInterface(IID_IInputObject, reinterpret_cast<void**>(&input)));

    auto* site = new BandSite(parent.handle());
    std::vector<std::pair<IUnknown*, BOOL>> focusReports;
    site->onFocusChange = [&](IUnknown* who, BOOL focused) {
        focusReports.emplace_back(who, focused);
    };
    ASSERT_EQ(S_OK, withSite->SetSite(static_cast<IOleWindow*>(site)));

    HWND window = fitBandWindow(band, parent.handle());
    ASSERT_NE(nullptr, window);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ("ZAXDeskBandClass", className);
    EXPECT_EQ(parent.handle(), GetParent(window));
    EXPECT_FALSE(IsWindowVisible(window)) << "hidden until ShowDW";

    ASSERT_EQ(S_OK, band->ShowDW(TRUE));
    EXPECT_TRUE(IsWindowVisible(window));
    RECT bounds{};
    GetClientRect(window, &bounds);
    EXPECT_EQ(500, bounds.right) << "the host's 700 clamped to the band's maximum";
    EXPECT_EQ(32, bounds.bottom);

    // Painted: the band shows more than the parent's background.
    pumpMessages(50);
    Capture shown = captureClient(window);
    const uint32_t background = testing_support::rgb(GetSysColor(COLOR_WINDOW));
    size_t ownPixels = 0;
    for (uint32_t pixel : shown.pixels) ownPixels += pixel != background;
    EXPECT_GT(ownPixels, shown.pixels.size() / 2);

    // The player's times reach the time box.
    sendTimes(window, parent.handle(), 10, 200, 3723, -100);
    pumpMessages(50);
    Capture early = captureClient(window);
    sendTimes(window, parent.handle(), 11, 200, 7384, -100);
    pumpMessages(50);
    Capture later = captureClient(window);
    EXPECT_GT(differingPixels(early, later), 0u) << "new times, new time text";

    // Focus: the band takes it when activated and tells its site both ways.
    IUnknown* identity = nullptr;
    band->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
    ASSERT_EQ(S_OK, input->UIActivateIO(TRUE, nullptr));
    pumpMessages(20);
    EXPECT_EQ(window, GetFocus());
    EXPECT_EQ(S_OK, input->HasFocusIO());
    ASSERT_FALSE(focusReports.empty());
    EXPECT_EQ(identity, focusReports.back().first);
    EXPECT_EQ(TRUE, focusReports.back().second);
    SetFocus(parent.handle());
    pumpMessages(20);
    EXPECT_EQ(S_FALSE, input->HasFocusIO());
    EXPECT_EQ(FALSE, focusReports.back().second);
    identity->Release();

    // GetSite answers from the input site the band keeps.
    IInputObjectSite* kept = nullptr;
    EXPECT_EQ(S_OK, withSite->GetSite(IID_IInputObjectSite, reinterpret_cast<void**>(&kept)));
    EXPECT_EQ(static_cast<IInputObjectSite*>(site), kept);
    if (kept) kept->Release();

    ASSERT_EQ(S_OK, band->CloseDW(0));
    EXPECT_FALSE(IsWindow(window));
    HWND none = reinterpret_cast<HWND>(1);
    band->GetWindow(&none);
    EXPECT_EQ(nullptr, none);

    // A closed band given a site again builds a new window.
    ASSERT_EQ(S_OK, withSite->SetSite(static_cast<IOleWindow*>(site)));
    HWND again = nullptr;
    band->GetWindow(&again);
    EXPECT_TRUE(IsWindow(again));
    ASSERT_EQ(S_OK, band->CloseDW(0));

    EXPECT_EQ(S_OK, withSite->SetSite(nullptr));
    input->Release();
    withSite->Release();
    EXPECT_EQ(0u, band->Release());
    EXPECT_EQ(0u, site->Release()) << "the band let go of every site reference";
}

// BandHost started as a program, the way a user tries the band.
class HostProcess {
public:
    explicit HostProcess(const std::string& arguments) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string line = "\"" + testing_support::programPath("BandHost.exe") + "\" " + arguments;
        std::vector<char> buffer(line.begin(), line.end());
        buffer.push_back('\0');
        started_ = CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process_);
        if (started_) CloseHandle(process_.hThread);
    }
    ~HostProcess() {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
        }
        CloseHandle(process_.hProcess);
    }
    bool started() const { return started_; }
    // Exit code, or -1 when it has not ended within the time.
    long waitForExit(DWORD milliseconds = 10000) {
        if (WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<long>(code);
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

SIZE clientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

TEST(BandHostProgram, HostsTheRegisteredBandAndFollowsItsWindowSize) {
    ASSERT_EQ(0, regsvr32("/s"));
    testing_support::VendorKeyScratch scratch;
    testing_support::createKey(kSettingsKey);

    HostProcess host("/x 40 /y 50 /w 640 /h 30");
    ASSERT_TRUE(host.started());
    HWND hostWindow = nullptr;
    HWND bandWindow = nullptr;
    ASSERT_TRUE(pumpUntil([&] {
        hostWindow = FindWindowA("StrappaBandHost", "Strappa band host");
        if (hostWindow) bandWindow = FindWindowExA(hostWindow, nullptr, "ZAXDeskBandClass", nullptr);
        return bandWindow && IsWindowVisible(bandWindow);
    }));
    POINT origin{0, 0};
    ClientToScreen(hostWindow, &origin);
    RECT frame{};
    GetWindowRect(hostWindow, &frame);
    EXPECT_EQ(40, frame.left);
    EXPECT_EQ(50, frame.top);
    EXPECT_EQ(640, clientSize(hostWindow).cx);
    EXPECT_EQ(30, clientSize(hostWindow).cy);
    EXPECT_EQ(500, clientSize(bandWindow).cx) << "no wider than the band's maximum";
    EXPECT_EQ(30, clientSize(bandWindow).cy);

    // Shrinking the host shrinks the band with it.
    RECT smaller{0, 0, 300, 25};
    AdjustWindowRect(&smaller, WS_OVERLAPPEDWINDOW, FALSE);
    SetWindowPos(hostWindow, nullptr, 0, 0, smaller.right - smaller.left,
                 smaller.bottom - smaller.top, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(pumpUntil([&] { return clientSize(bandWindow).cx == 300; }));
    EXPECT_EQ(25, clientSize(bandWindow).cy);

    PostMessageA(hostWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, host.waitForExit());
    EXPECT_FALSE(IsWindow(bandWindow));
}

TEST(BandHostProgram, FailsWithExitCodeOneWhenTheBandIsNotRegistered) {
    ASSERT_EQ(0, regsvr32("/u /s"));
    HostProcess host("");
    ASSERT_TRUE(host.started());
    EXPECT_EQ(1, host.waitForExit());
    EXPECT_EQ(nullptr, FindWindowA("StrappaBandHost", nullptr));
}

TEST(BandHostProgram, RejectsUnknownOptions) {
    HostProcess host("/q 5");
    ASSERT_TRUE(host.started());
    EXPECT_EQ(1, host.waitForExit());
}

}  // namespace

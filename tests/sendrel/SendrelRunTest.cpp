// The real Sendrel.exe against real listener windows of this test, one run per table row.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/Process.h"
#include "tests/support/Registry.h"
#include "tests/support/Windows.h"

namespace {

using testing_support::setDword;
using testing_support::setRaw;
using testing_support::setString;

const char kShortcuts[] = "Software\\Vantorel\\Sendrel\\Shortcuts\\";
const char kClassA[] = "SendrelListenerA";
const char kCaptionA[] = "Sendrel listener A";
const char kClassB[] = "SendrelListenerB";
const char kCaptionB[] = "Sendrel listener B";
const char kRegisteredName[] = "SendrelTestRegisteredMessage";
const UINT kPlainMessage = WM_APP + 1;
const UINT kCommandMessage = 273;

UINT registeredMessage() { return RegisterWindowMessageA(kRegisteredName); }

struct Arrival {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LONG time;
};

// A visible top-level window of its own class that records the messages a shortcut may post,
// with the time each was posted.
class Listener {
public:
    Listener(const char* className, const char* caption, int x) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassA(&windowClass);
        hwnd_ = CreateWindowExA(0, className, caption, WS_OVERLAPPEDWINDOW, x, 100, 200, 120,
                                nullptr, nullptr, GetModuleHandleA(nullptr), this);
        EXPECT_NE(nullptr, hwnd_);
        ShowWindow(hwnd_, SW_SHOW);
        testing_support::pumpMessages(0);
    }
    ~Listener() {
        if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    HWND handle() const { return hwnd_; }
    std::vector<Arrival> arrivals;

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<Listener*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && (message == kPlainMessage || message == kCommandMessage ||
                     message == registeredMessage())) {
            self->arrivals.push_back({message, wParam, lParam, GetMessageTime()});
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    HWND hwnd_ = nullptr;
};

// Holds the foreground from a thread of its own, as another program would: the shortcut's
// window then has to be brought forward across threads.
class Bystander {
public:
    Bystander() {
        thread_ = std::thread([this] {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = DefWindowProcA;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            windowClass.lpszClassName = "SendrelBystander";
            RegisterClassA(&windowClass);
            HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Sendrel bystander",
                                          WS_OVERLAPPEDWINDOW, 600, 100, 200, 120, nullptr,
                                          nullptr, GetModuleHandleA(nullptr), nullptr);
            ShowWindow(window, SW_SHOW);
            SetForegroundWindow(window);
            threadId_ = GetCurrentThreadId();
            hwnd_ = window;
            MSG message;
            while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
            DestroyWindow(window);
        });
        EXPECT_TRUE(testing_support::pumpUntil([this] { return hwnd_ != nullptr; }));
    }
    ~Bystander() {
        while (!PostThreadMessageA(threadId_, WM_QUIT, 0, 0)) Sleep(5);
        thread_.join();
    }
    Bystander(const Bystander&) = delete;
    Bystander& operator=(const Bystander&) = delete;

    HWND handle() const { return hwnd_; }

private:
    std::atomic<HWND> hwnd_{nullptr};
    std::thread thread_;
    std::atomic<DWORD> threadId_{0};
};

// The usual shortcut "go": listener A by class, WM_APP + 1, WPARAM 0xBEEF, LPARAM -5 as text.
void defineUsual(const std::string& path) {
    setString(path, "Class", kClassA);
    setDword(path, "Message", kPlainMessage);
    setDword(path, "WPARAM", 0xBEEF);
    setString(path, "LPARAM", "-5");
}

enum class Target { None, A, B };

struct RunCase {
    const char* label;
    std::string arguments;
    std::string shortcut;  // key name under Shortcuts
    std::function<void(const std::string& path)> define;
    Target target;
    int posts;
    UINT message;  // 0: the registered message
    bool foreground;
    WPARAM wParam = 0xBEEF;
    LPARAM lParam = -5;
};

void PrintTo(const RunCase& c, std::ostream* out) { *out << c.label; }

class SendrelRunTest : public testing::TestWithParam<RunCase> {
protected:
    testing_support::VendorKeyScratch scratch;
};

TEST_P(SendrelRunTest, PostsAsDefined) {
    const RunCase& c = GetParam();
    c.define(kShortcuts + c.shortcut);
    Listener a(kClassA, kCaptionA, 100);
    Listener b(kClassB, kCaptionB, 350);
    Bystander other;
    ASSERT_TRUE(
        testing_support::pumpUntil([&] { return GetForegroundWindow() == other.handle(); }));

    std::string line = "\"" + testing_support::programPath("Sendrel.exe") + "\" " + c.arguments;
    EXPECT_EQ(0, testing_support::runProcess(line));
    testing_support::pumpMessages(50);

    Listener* hit = c.target == Target::A ? &a : c.target == Target::B ? &b : nullptr;
    const UINT message = c.message ? c.message : registeredMessage();
    for (Listener* listener : {&a, &b}) {
        if (listener != hit) {
            EXPECT_TRUE(listener->arrivals.empty()) << "a message reached the wrong window";
        }
    }
    if (hit) {
        ASSERT_EQ(static_cast<size_t>(c.posts), hit->arrivals.size());
        for (size_t index = 0; index < hit->arrivals.size(); ++index) {
            const Arrival& arrival = hit->arrivals[index];
            EXPECT_EQ(message, arrival.message);
            EXPECT_EQ(c.wParam, arrival.wParam);
            EXPECT_EQ(c.lParam, arrival.lParam);
            // Posts are 35 ms apart; allow for a coarse tick, set no upper bound.
            if (index > 0) {
                EXPECT_GE(arrival.time - hit->arrivals[index - 1].time, 30);
            }
        }
    }
    HWND expected = c.foreground ? a.handle() : other.handle();
    EXPECT_TRUE(testing_support::pumpUntil([&] { return GetForegroundWindow() == expected; }))
        << "foreground is " << GetForegroundWindow();
}

INSTANTIATE_TEST_SUITE_P(
    Runs, SendrelRunTest,
    testing::Values(
        RunCase{"NameOption", "/s go", "go", defineUsual, Target::A, 1, kPlainMessage, false},
        RunCase{"UpperCaseOption", "/S go", "go", defineUsual, Target::A, 1, kPlainMessage, false},
        RunCase{"OptionWord", "/shortcut go", "go", defineUsual, Target::A, 1, kPlainMessage,
                false},
        RunCase{"HyphenIsNoOption", "-s go", "go", defineUsual, Target::None, 0, 0, false},
        RunCase{"CountThree", "/s go /c 3", "go", defineUsual, Target::A, 3, kPlainMessage,
                false},
        RunCase{"CountWithoutNameOption", "/c 3", "go", defineUsual, Target::None, 0, 0, false},
        RunCase{"OneArgumentNameAndCount", "/s /c 5", "5", defineUsual, Target::A, 5,
                kPlainMessage, false},
        RunCase{"ZeroCountStillForeground", "/c x /f /s go", "go", defineUsual, Target::None, 0,
                0, true},
        RunCase{"ForegroundThenPost", "/f /s go", "go", defineUsual, Target::A, 1, kPlainMessage,
                true},
        RunCase{"NoArguments", "", "go", defineUsual, Target::None, 0, 0, false},
        RunCase{"UnknownShortcut", "/s nosuch", "go", defineUsual, Target::None, 0, 0, false},
        RunCase{"QuotedNameWithBlank", "/s \"two words\"", "two words", defineUsual, Target::A,
                1, kPlainMessage, false},
        RunCase{"NameReachesDeeperKey", "/s group\\go", "group\\go", defineUsual, Target::A, 1,
                kPlainMessage, false},
        RunCase{"ClassPreferredOverCaption", "/s go", "go",
                [](const std::string& path) {
                    defineUsual(path);
                    setString(path, "Caption", kCaptionB);
                },
                Target::A, 1, kPlainMessage, false},
        RunCase{"CaptionAlone", "/s go", "go",
                [](const std::string& path) {
                    setString(path, "Caption", kCaptionB);
                    setDword(path, "Message", kPlainMessage);
                },
                Target::B, 1, kPlainMessage, false, 0, 0},
        RunCase{"MessageAsText", "/s go", "go",
                [](const std::string& path) {
                    defineUsual(path);
                    setString(path, "Message", "273");
                },
                Target::A, 1, kCommandMessage, false},
        RunCase{"AllBitsMessageIsNone", "/s go /f", "go",
                [](const std::string& path) {
                    defineUsual(path);
                    setDword(path, "Message", 0xFFFFFFFF);
                    setString(path, "RegisteredMessage", kRegisteredName);
                },
                Target::None, 0, 0, false},
        RunCase{"RegisteredWhenMessageMissing", "/s go", "go",
                [](const std::string& path) {
                    setString(path, "Class", kClassA);
                    setString(path, "RegisteredMessage", kRegisteredName);
                    setDword(path, "WPARAM", 0xFFFFFFFF);
                    setDword(path, "LPARAM", 0xFFFFFFFF);
                },
                Target::A, 1, 0, false, 0xFFFFFFFF, -1},
        RunCase{"RegisteredWhenMessageIsBinary", "/s go", "go",
                [](const std::string& path) {
                    defineUsual(path);
                    setRaw(path, "Message", REG_BINARY, {1, 0x80, 0, 0});
                    setString(path, "RegisteredMessage", kRegisteredName);
                },
                Target::A, 1, 0, false}),
    [](const testing::TestParamInfo<RunCase>& info) { return info.param.label; });

}  // namespace

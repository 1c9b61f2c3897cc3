// Floods a band window from a second process, as a hostile or broken plug-in could: WM_COPYDATA
// records of every kind and of none, with random sizes up to 8 KB, texts without terminators,
// times records too short and too long, interleaved with posted mouse moves, presses and
// leaves. The senders are windows of this program that come and go, so the band's choice of
// player window is exercised as well.
//
// Usage: RecordStorm.exe <band hwnd> <seed> <records> <summary file>
//   Writes "<name> <value>" lines into the summary file: records sent, records the band did not
//   take within the timeout, mouse messages posted, commands and seek requests that reached
//   the sender windows, sender windows replaced.
// Exit code: 0 done, 2 bad arguments, 3 no such window.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

const char kSenderClass[] = "RecordStormSender";
constexpr size_t kMaxPayload = 8 * 1024;
constexpr int kSenders = 2;
constexpr int kReplaceEvery = 4000;  // records between the death of one sender and its heir

UINT commandMessage = 0;
UINT seekMessage = 0;
long long commandsReceived = 0;
long long seeksReceived = 0;

LRESULT CALLBACK senderProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == commandMessage) ++commandsReceived;
    if (message == seekMessage) ++seeksReceived;
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND createSender(HINSTANCE instance, int number) {
    char caption[32];
    std::snprintf(caption, sizeof caption, "Storm player %d", number);
    return CreateWindowExA(0, kSenderClass, caption, WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                           nullptr, instance, nullptr);
}

void drainQueue() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

class Storm {
public:
    Storm(HWND band, uint32_t seed) : band_(band), random_(seed) {}

    uint32_t below(uint32_t bound) { return static_cast<uint32_t>(random_() % bound); }

    // Mostly the six kinds, and a share of numbers the band does not know. Reloads, which
    // read the whole settings key each time, come less often, as they do from a real player.
    ULONG_PTR kind() {
        static const ULONG_PTR weighted[20] = {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 3, 4, 5, 5, 5};
        const uint32_t pick = below(100);
        if (pick < 85) return weighted[pick % 17];
        static const ULONG_PTR strange[] = {6, 7, 9, 255, 0x7FFFFFFF, 0xFFFFFFFF,
                                            static_cast<ULONG_PTR>(-1)};
        if (pick < 95) return strange[below(sizeof strange / sizeof strange[0])];
        return static_cast<ULONG_PTR>((static_cast<uint64_t>(random_()) << 32) | random_());
    }

    // Sizes that matter to the band (none, around the 16 bytes of a times record, around the
    // 260 of a text field) and anything else up to 8 KB.
    size_t size(ULONG_PTR kind) {
        const uint32_t pick = below(100);
        if (pick < 10) return 0;
        if (kind == 3 && pick < 60) return 16;
        if (pick < 35) return 1 + below(24);
        if (pick < 60) return 250 + below(20);
        return below(kMaxPayload + 1);
    }

    void fill(std::vector<unsigned char>& data) {
        const uint32_t style = below(4);
        for (size_t i = 0; i < data.size(); ++i) {
            switch (style) {
                case 0: data[i] = static_cast<unsigned char>(random_()); break;  // zeros anywhere
                case 1: data[i] = static_cast<unsigned char>(1 + below(255)); break;  // no terminator
                case 2: data[i] = static_cast<unsigned char>('A' + i % 26); break;
                default: data[i] = static_cast<unsigned char>(below(3) ? 'x' : 0); break;
            }
        }
    }

    HWND sender(const HWND (&senders)[kSenders]) {
        const uint32_t pick = below(100);
        if (pick < 90) return senders[pick % kSenders];
        if (pick < 95) return nullptr;
        return reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x10000 + below(0x10000)));
    }

    // A mouse message at a random point of (and around) the band; presses put the cursor
    // there first, since the band reads the cursor rather than the message.
    void postMouse() {
        RECT frame{};
        GetWindowRect(band_, &frame);
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        const int x = static_cast<int>(below(static_cast<uint32_t>(width + 40)));
        const int y = static_cast<int>(below(static_cast<uint32_t>(height + 1)));
        const LPARAM at = MAKELPARAM(x, y);
        switch (below(6)) {
            case 0:
            case 1:
            case 2:
                PostMessageA(band_, WM_MOUSEMOVE, 0, at);
                break;
            case 3:
                SetCursorPos(frame.left + x, frame.top + y);
                PostMessageA(band_, WM_MOUSEMOVE, 0, at);
                PostMessageA(band_, WM_LBUTTONDOWN, MK_LBUTTON, at);
                break;
            case 4:
                PostMessageA(band_, WM_LBUTTONUP, 0, at);
                break;
            default:
                PostMessageA(band_, WM_MOUSELEAVE, 0, 0);
                break;
        }
    }

private:
    HWND band_;
    std::mt19937 random_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc != 5) return 2;
    HWND band = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(__argv[1], nullptr, 10)));
    const uint32_t seed = static_cast<uint32_t>(std::strtoul(__argv[2], nullptr, 10));
    const long records = std::strtol(__argv[3], nullptr, 10);
    const char* summaryPath = __argv[4];
    if (!IsWindow(band)) return 3;

    commandMessage = RegisterWindowMessageA("MsgTaskIconNotify");
    seekMessage = RegisterWindowMessageA("DeskBandNotify");
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = senderProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kSenderClass;
    RegisterClassA(&windowClass);
    HWND senders[kSenders];
    int created = 0;
    for (HWND& sender : senders) sender = createSender(instance, created++);

    Storm storm(band, seed);
    long long sent = 0;
    long long refused = 0;
    long long mouse = 0;
    long long replaced = 0;
    std::vector<unsigned char> payload;
    for (long i = 0; i < records; ++i) {
        while (storm.below(100) < 15) {
            storm.postMouse();
            ++mouse;
        }
        const ULONG_PTR kind = storm.kind();
        payload.assign(storm.size(kind), 0);
        storm.fill(payload);
        COPYDATASTRUCT record{};
        record.dwData = kind;
        record.cbData = static_cast<DWORD>(payload.size());
        record.lpData = payload.empty() ? nullptr : payload.data();
        DWORD_PTR answer = 0;
        if (SendMessageTimeoutA(band, WM_COPYDATA, reinterpret_cast<WPARAM>(storm.sender(senders)),
                                reinterpret_cast<LPARAM>(&record), SMTO_NORMAL, 10000, &answer)) {
            ++sent;
        } else {
            ++refused;
            if (!IsWindow(band)) break;
        }
        if (i % 64 == 0) drainQueue();
        if (i % kReplaceEvery == kReplaceEvery - 1) {
            // The adopted player window may be the one that goes: the next record must then
            // make another sender the player.
            HWND& victim = senders[storm.below(kSenders)];
            drainQueue();
            DestroyWindow(victim);
            victim = createSender(instance, created++);
            ++replaced;
        }
    }
    drainQueue();

    if (FILE* summary = std::fopen(summaryPath, "w")) {
        std::fprintf(summary, "sent %lld\nrefused %lld\nmouse %lld\ncommands %lld\nseeks %lld\n"
                              "replaced %lld\n",
                     sent, refused, mouse, commandsReceived, seeksReceived, replaced);
        std::fclose(summary);
    }
    for (HWND sender : senders) DestroyWindow(sender);
    return 0;
}

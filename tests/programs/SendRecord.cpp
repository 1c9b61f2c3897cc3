// Stands in for the player's plug-in: sends the band window one WM_COPYDATA record from a
// second process, as the real plug-in does.
//
// Usage: SendRecord.exe <band hwnd> <dwData> [<payload> [<sender hwnd>]]
//   <band hwnd>    the band window's handle, decimal
//   <dwData>       the record kind, decimal (0 title, 1 next track, 2 previous track,
//                  3 times, 4 reload, 5 closed; any other number is sent as it is)
//   <payload>      the data as hex bytes without separators, e.g. 4142430000000000;
//                  "-" or nothing sends no data (cbData 0). Texts need their own 00 to be
//                  terminated; times are four little-endian int32 (16 bytes).
//   <sender hwnd>  the window handle passed as wParam, decimal. Without it the program's
//                  own hidden top-level window (caption "SendRecord") is the sender, which
//                  is destroyed when the program ends.
// Exit code: 0 the band received the record, 2 bad arguments, 3 no such window, 4 the band
// did not answer within ten seconds.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool parseHandle(const char* text, HWND* handle) {
    char* end = nullptr;
    unsigned long long value = std::strtoull(text, &end, 10);
    if (!*text || *end) return false;
    *handle = reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
    return true;
}

bool parseHex(const std::string& text, std::vector<unsigned char>* bytes) {
    if (text == "-") return true;
    if (text.size() % 2 != 0) return false;
    for (size_t i = 0; i < text.size(); i += 2) {
        std::string pair = text.substr(i, 2);
        char* end = nullptr;
        unsigned long value = std::strtoul(pair.c_str(), &end, 16);
        if (*end) return false;
        bytes->push_back(static_cast<unsigned char>(value));
    }
    return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc < 3 || __argc > 5) return 2;
    HWND band = nullptr;
    if (!parseHandle(__argv[1], &band)) return 2;
    char* end = nullptr;
    unsigned long long kind = std::strtoull(__argv[2], &end, 10);
    if (!*__argv[2] || *end) return 2;
    std::vector<unsigned char> payload;
    if (__argc >= 4 && !parseHex(__argv[3], &payload)) return 2;

    HWND sender = nullptr;
    HWND ownWindow = nullptr;
    if (__argc == 5) {
        if (!parseHandle(__argv[4], &sender)) return 2;
    } else {
        ownWindow = CreateWindowExA(0, "STATIC", "SendRecord", WS_OVERLAPPED, 0, 0, 10, 10,
                                    nullptr, nullptr, instance, nullptr);
        sender = ownWindow;
    }
    if (!IsWindow(band)) return 3;

    COPYDATASTRUCT record{};
    record.dwData = static_cast<ULONG_PTR>(kind);
    record.cbData = static_cast<DWORD>(payload.size());
    record.lpData = payload.empty() ? nullptr : payload.data();
    DWORD_PTR answer = 0;
    LRESULT sent = SendMessageTimeoutA(band, WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                                       reinterpret_cast<LPARAM>(&record), SMTO_ABORTIFHUNG,
                                       10000, &answer);
    if (ownWindow) DestroyWindow(ownWindow);
    return sent ? 0 : 4;
}

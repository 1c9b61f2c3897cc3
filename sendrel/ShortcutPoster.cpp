#include "sendrel/ShortcutPoster.h"

#include "sendrel/RegKey.h"

std::optional<ShortcutTarget> LookUpShortcut(const std::string& name) {
    CurrentUserKey registry;
    const std::string path = std::string(kShortcutsKey) + "\\" + name;

    std::string windowClass;
    std::string caption;
    registry.ReadString(path, "Class", windowClass, "");
    registry.ReadString(path, "Caption", caption, "");
    HWND window = nullptr;
    if (!windowClass.empty()) {
        window = FindWindowA(windowClass.c_str(), nullptr);
    } else if (!caption.empty()) {
        window = FindWindowA(nullptr, caption.c_str());
    }
    if (!window) return std::nullopt;

    int32_t message = -1;
    if (!registry.ReadNumber(path, "Message", message, -1)) {
        std::string registeredName;
        if (registry.ReadString(path, "RegisteredMessage", registeredName, "")) {
            message = static_cast<int32_t>(RegisterWindowMessageA(registeredName.c_str()));
        }
    }
    if (message == -1) return std::nullopt;

    int32_t lParam = 0;
    int32_t wParam = 0;
    registry.ReadNumber(path, "LPARAM", lParam, 0);
    registry.ReadNumber(path, "WPARAM", wParam, 0);
    // The stored numbers are 32-bit: WPARAM is unsigned, so it is widened without sign;
    // LPARAM is signed and keeps its sign.
    return ShortcutTarget{window, static_cast<UINT>(message),
                          static_cast<WPARAM>(static_cast<uint32_t>(wParam)),
                          static_cast<LPARAM>(lParam)};
}

void BringToForeground(HWND window) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExA(&version);
    if (version.dwMajorVersion <= 4) {
        SetForegroundWindow(window);
        return;
    }
    // Later systems refuse the foreground to a process that does not own it, unless its
    // thread shares input with the thread that does.
    AttachThreadInput(GetWindowThreadProcessId(GetForegroundWindow(), nullptr),
                      GetCurrentThreadId(), TRUE);
    SetForegroundWindow(window);
    AttachThreadInput(GetWindowThreadProcessId(GetForegroundWindow(), nullptr),
                      GetCurrentThreadId(), FALSE);
}

void RunShortcut(const CommandLine& commandLine) {
    if (commandLine.shortcutName.empty()) return;
    std::optional<ShortcutTarget> target = LookUpShortcut(commandLine.shortcutName);
    if (!target) return;
    if (commandLine.foreground) BringToForeground(target->window);
    for (int32_t post = 0; post < commandLine.repeatCount; ++post) {
        PostMessageA(target->window, target->message, target->wParam, target->lParam);
        Sleep(kPostPauseMilliseconds);
    }
}

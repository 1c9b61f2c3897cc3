// Counts the messages this thread's window procedures receive through SendMessage and
// UpdateWindow, by a WH_CALLWNDPROC hook: what the band sends its tooltip control, what the
// control's own subclass relays to it, and the band's paints.
#pragma once

#include <windows.h>
#include <commctrl.h>

struct MessageCounts {
    int otherToTooltip = 0;  // every other message to the control: the band's TTM_ calls
    int relayedToTooltip = 0;   // TTM_RELAYEVENT, sent by the control's subclass of the band
    int bandPaints = 0;         // WM_PAINT received by the band window
};

class MessageCounter {
public:
    MessageCounter(HWND band, HWND tooltip) {
        current_ = this;
        band_ = band;
        tooltip_ = tooltip;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &MessageCounter::hook, nullptr,
                                  GetCurrentThreadId());
    }
    ~MessageCounter() {
        if (hook_) UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    MessageCounter(const MessageCounter&) = delete;
    MessageCounter& operator=(const MessageCounter&) = delete;

    bool active() const { return hook_ != nullptr; }
    const MessageCounts& counts() const { return counts_; }

private:
    static LRESULT CALLBACK hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && current_) {
            const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
            current_->count(*sent);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    void count(const CWPSTRUCT& sent) {
        if (tooltip_ && sent.hwnd == tooltip_) {
            if (sent.message == TTM_RELAYEVENT) {
                ++counts_.relayedToTooltip;
            } else {
                ++counts_.otherToTooltip;
            }
        } else if (sent.hwnd == band_ && sent.message == WM_PAINT) {
            ++counts_.bandPaints;
        }
    }

    static inline MessageCounter* current_ = nullptr;
    HHOOK hook_ = nullptr;
    HWND band_ = nullptr;
    HWND tooltip_ = nullptr;
    MessageCounts counts_;
};

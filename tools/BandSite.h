// The shell's half of the desk band contract: a site that gives the band its parent window and
// hears about its focus, and the sizing of the band's window within the limits it reports.
#pragma once

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <functional>

class BandSite final : public IOleWindow, public IInputObjectSite {
public:
    explicit BandSite(HWND window) : window_(window) {}
    BandSite(const BandSite&) = delete;
    BandSite& operator=(const BandSite&) = delete;

    // Called with the band's IUnknown and the new focus state.
    std::function<void(IUnknown* band, BOOL focused)> onFocusChange;

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleWindow)) {
            *out = static_cast<IOleWindow*>(this);
        } else if (IsEqualIID(riid, IID_IInputObjectSite)) {
            *out = static_cast<IInputObjectSite*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refCount_); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG count = --refCount_;
        if (count == 0) delete this;
        return static_cast<ULONG>(count);
    }

    STDMETHODIMP GetWindow(HWND* window) override {
        if (!window) return E_POINTER;
        *window = window_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    STDMETHODIMP OnFocusChangeIS(IUnknown* band, BOOL focused) override {
        if (onFocusChange) onFocusChange(band, focused);
        return S_OK;
    }

private:
    ~BandSite() = default;
    HWND window_;
    LONG refCount_ = 1;
};

// Asks the band for its limits and gives its window the host's client area, clamped to them.
// A negative maximum means "no limit". Returns the band's window, or null when it has none.
inline HWND fitBandWindow(IDeskBand* band, HWND host, DWORD bandId = 0,
                          DWORD viewMode = DBIF_VIEWMODE_NORMAL) {
    DESKBANDINFO info{};
    info.dwMask = DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_ACTUAL | DBIM_MODEFLAGS;
    HWND window = nullptr;
    if (FAILED(band->GetBandInfo(bandId, viewMode, &info)) ||
        FAILED(band->GetWindow(&window)) || !window) {
        return nullptr;
    }
    RECT client{};
    GetClientRect(host, &client);
    auto clamp = [](LONG size, LONG low, LONG high) {
        if (high >= 0) size = std::min(size, high);
        return std::max(size, low);
    };
    LONG width = clamp(client.right - client.left, info.ptMinSize.x, info.ptMaxSize.x);
    LONG height = clamp(client.bottom - client.top, info.ptMinSize.y, info.ptMaxSize.y);
    MoveWindow(window, 0, 0, width, height, TRUE);
    return window;
}

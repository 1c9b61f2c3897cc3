// A real band window in a real parent, a real tooltip control, and a player window that the
// band adopted by receiving a record from it.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "band/core/DeskBand.h"
#include "tests/support/Registry.h"
#include "tests/support/Windows.h"

namespace pointer_tests {

extern const char kPluginKey[];
extern const char kButtonsKey[];

// Counts the messages a window receives by putting a procedure in front of its own, and puts
// the window's procedure back when it goes.
class MessageCounter {
public:
    MessageCounter() = default;
    ~MessageCounter();
    MessageCounter(const MessageCounter&) = delete;
    MessageCounter& operator=(const MessageCounter&) = delete;

    void attach(HWND window);
    int count(UINT message) const;
    void reset() { counts_.clear(); }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    WNDPROC previous_ = nullptr;
    std::map<UINT, int> counts_;
};

// The five hit-test regions of the band, in client pixels.
struct Regions {
    int32_t buttonsLeft;
    int32_t buttonsRight;
    int32_t timeLeft;
    int32_t trackLeft;
    int32_t trackRight;
};

// A message the band posted to the player window.
struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Posted& other) const {
        return message == other.message && wParam == other.wParam && lParam == other.lParam;
    }
};
void PrintTo(const Posted& posted, std::ostream* out);

// Stores the button strip in the registry: one entry per function, and the fixed buttons that
// the list does not cover are hidden.
void writeButtons(const std::vector<int32_t>& functions);

class BandFixture : public ::testing::Test {
protected:
    BandFixture();
    ~BandFixture() override;

    // Creates the band from the registry values written so far, inside a parent window whose
    // client area is `width` x 23, shows it and lets it paint once.
    void open(int width = 400);
    // Reads the settings again, as the player's reload record would.
    void reload();
    HWND tooltip() const { return band->tooltipWindow(); }

    // A player window that sends the band a times record, so the band adopts it.
    void adoptPlayer(const char* caption = "Test Player", int32_t trackLength = 0);
    void sendRecord(ULONG_PTR kind, const void* data, DWORD size);
    void sendText(ULONG_PTR kind, const std::string& text);
    // Messages the band has posted to the player window so far (taken from its queue).
    std::vector<Posted> takePosted();

    // Regions are normally written by painting. Tests that need exact numbers set `regions`,
    // which moveTo, clickAt and pressAt pin right before the message they send, with no paint
    // in between.
    void pin(const Regions& pinned);
    void moveTo(int32_t x);
    // A left press and release with the cursor at client x. The cursor is put below the band
    // window so that the real pointer cannot send it moves of its own.
    void clickAt(int32_t x);
    void pressAt(int32_t x);
    void parkCursor();

    // The one tool's text as the tooltip control holds it; "<no tool>" when there is none.
    std::string toolText();
    int toolCount();

    testing_support::VendorKeyScratch scratch;
    std::unique_ptr<testing_support::TestWindow> parent;
    std::unique_ptr<testing_support::TestWindow> player;
    DeskBand* band = nullptr;
    Regions regions{};
    MessageCounter bandMessages;  // attached before the first tool subclasses the band window
};

}  // namespace pointer_tests

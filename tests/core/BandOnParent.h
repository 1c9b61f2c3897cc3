// A band object with its window on a real parent window, settings from a scratch registry.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "band/core/DeskBand.h"
#include "band/core/PlayerStatus.h"
#include "tests/support/Registry.h"
#include "tests/support/Windows.h"

class BandOnParent : public ::testing::Test {
protected:
    BandOnParent() : parent(300, 30) {
        resetPlayerStatus();
        band = new DeskBand;
        band->hwndParent = parent.handle();
    }

    ~BandOnParent() override {
        band->CloseDW(0);
        band->Release();
    }

    // Process-wide state outlives a test when several run in one process.
    static void resetPlayerStatus() {
        std::memset(&playerStatus, 0, sizeof playerStatus);
        std::strcpy(playerStatus.title, kIdleTitle);
    }

    testing_support::VendorKeyScratch scratch;
    testing_support::TestWindow parent;
    DeskBand* band = nullptr;
};

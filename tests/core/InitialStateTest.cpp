#include <gtest/gtest.h>

#include <cstring>

#include "band/core/DeskBand.h"
#include "band/core/PlayerStatus.h"
#include "tests/support/Registry.h"

namespace {

TEST(InitialState, NewBandHasTheDocumentedFieldValues) {
    testing_support::VendorKeyScratch scratch;
    LONG before = objectCount;
    auto* band = new DeskBand;
    EXPECT_EQ(before + 1, objectCount);
    EXPECT_EQ(1, band->refCount);
    EXPECT_FALSE(band->hasFocus);
    EXPECT_EQ(nullptr, band->hwnd);
    EXPECT_EQ(nullptr, band->hwndPlayer);
    EXPECT_EQ(nullptr, band->imageList);
    EXPECT_EQ(nullptr, band->font);
    EXPECT_EQ(2, band->timeMode);
    EXPECT_EQ(0, band->scrollOffset);
    EXPECT_EQ(kHoverNothing, band->hoverIndex);
    EXPECT_EQ(100, band->bandWidth);
    EXPECT_EQ(23, band->bandHeight);
    EXPECT_FALSE(band->pressed);
    EXPECT_EQ(nullptr, band->tooltip.get());
    EXPECT_EQ(0u, band->Release());
    EXPECT_EQ(before, objectCount);
}

TEST(InitialState, ModuleGlobalsAreReadyBeforeAnyBand) {
    EXPECT_EQ(RegisterWindowMessageA("MsgTaskIconNotify"), taskIconNotifyMsg);
    EXPECT_EQ(RegisterWindowMessageA("DeskBandNotify"), deskBandNotifyMsg);
    EXPECT_NE(0u, taskIconNotifyMsg);
    EXPECT_STREQ("ZAX     ", playerStatus.title);
    EXPECT_NE(nullptr, moduleInstance);
}

}  // namespace

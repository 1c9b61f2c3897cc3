// Reads of real registry values, one table for texts and one for numbers.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "sendrel/RegKey.h"
#include "tests/support/Registry.h"

namespace {

using testing_support::setRaw;
using testing_support::VendorKeyScratch;

const char kPath[] = "Software\\Vantorel\\Sendrel\\ReaderTest";
const char kMissingPath[] = "Software\\Vantorel\\Sendrel\\NoSuchKey";

struct StoredValue {
    DWORD type;
    std::vector<uint8_t> data;
};

std::vector<uint8_t> textBytes(const std::string& text, bool terminated = true) {
    std::vector<uint8_t> data(text.begin(), text.end());
    if (terminated) data.push_back(0);
    return data;
}

// The value "V" under kPath; none stores nothing; a missing key reads from kMissingPath.
struct ReadCase {
    const char* label;
    std::optional<StoredValue> stored;
    bool missingKey;
};

void store(const ReadCase& c) {
    testing_support::createKey(kPath);
    if (c.stored) setRaw(kPath, "V", c.stored->type, c.stored->data);
}

struct StringCase {
    ReadCase read;
    bool found;
    std::string text;
};

void PrintTo(const StringCase& c, std::ostream* out) { *out << c.read.label; }

class ReadStringTest : public testing::TestWithParam<StringCase> {
protected:
    VendorKeyScratch scratch;
};

TEST_P(ReadStringTest, GivesTextOrDefault) {
    const StringCase& c = GetParam();
    store(c.read);
    CurrentUserKey key;
    std::string text = "stale";
    bool found = key.ReadString(c.read.missingKey ? kMissingPath : kPath, "V", text, "dflt");
    EXPECT_EQ(c.found, found);
    EXPECT_EQ(c.text, text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadStringTest,
    testing::Values(
        StringCase{{"Text", StoredValue{REG_SZ, textBytes("abc")}, false}, true, "abc"},
        StringCase{{"EmptyText", StoredValue{REG_SZ, {0}}, false}, true, ""},
        StringCase{{"TextWithoutTerminator", StoredValue{REG_SZ, textBytes("xyz", false)}, false},
                   true, "xyz"},
        StringCase{{"EmptyBinary", StoredValue{REG_BINARY, {}}, false}, false, "dflt"},
        StringCase{{"BinaryCutAtZero", StoredValue{REG_BINARY, {0x41, 0x42, 0x00, 0x43}}, false},
                   true, "AB"},
        StringCase{{"DwordIsWrongType", StoredValue{REG_DWORD, {5, 0, 0, 0}}, false}, false,
                   "dflt"},
        StringCase{{"MissingValue", std::nullopt, false}, false, "dflt"},
        StringCase{{"MissingKey", std::nullopt, true}, false, "dflt"}),
    [](const testing::TestParamInfo<StringCase>& info) { return info.param.read.label; });

struct NumberCase {
    ReadCase read;
    int32_t fallback;
    bool found;
    int32_t number;
};

void PrintTo(const NumberCase& c, std::ostream* out) { *out << c.read.label; }

class ReadNumberTest : public testing::TestWithParam<NumberCase> {
protected:
    VendorKeyScratch scratch;
};

TEST_P(ReadNumberTest, GivesNumberOrDefaultWithinItsFourBytes) {
    const NumberCase& c = GetParam();
    store(c.read);
    CurrentUserKey key;
    // Neighbours of the destination show any write past its four bytes.
    struct {
        int32_t before = 0x5A5A5A5A;
        int32_t number = 12345;
        int32_t after = 0x5A5A5A5A;
    } guarded;
    bool found = key.ReadNumber(c.read.missingKey ? kMissingPath : kPath, "V", guarded.number,
                                c.fallback);
    EXPECT_EQ(c.found, found);
    EXPECT_EQ(c.number, guarded.number);
    EXPECT_EQ(0x5A5A5A5A, guarded.before);
    EXPECT_EQ(0x5A5A5A5A, guarded.after);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadNumberTest,
    testing::Values(
        NumberCase{{"NegativeText", StoredValue{REG_SZ, textBytes("-12")}, false}, 9, true, -12},
        NumberCase{{"HexTextIsZero", StoredValue{REG_SZ, textBytes("0x10")}, false}, 9, true, 0},
        NumberCase{{"LeadingBlanksTrailingWords", StoredValue{REG_SZ, textBytes("  7 up")}, false},
                   9, true, 7},
        NumberCase{{"NoDigits", StoredValue{REG_SZ, textBytes("none")}, false}, 9, true, 0},
        NumberCase{{"LargestText", StoredValue{REG_SZ, textBytes("2147483647")}, false}, 9, true,
                   INT_MAX},
        NumberCase{{"TooLargeTextSaturates", StoredValue{REG_SZ, textBytes("99999999999")}, false},
                   9, true, INT_MAX},
        NumberCase{{"TooSmallTextSaturates",
                    StoredValue{REG_SZ, textBytes("-99999999999")}, false},
                   9, true, INT_MIN},
        NumberCase{{"DwordAllBits", StoredValue{REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}}, false}, 9,
                   true, -1},
        NumberCase{{"OverlongDwordTakesFirstFourBytes",
                    StoredValue{REG_DWORD, {0x44, 0x33, 0x22, 0x11, 0x88, 0x77, 0x66, 0x55}},
                    false},
                   9, true, 0x11223344},
        NumberCase{{"ShortDwordIsZeroExtended", StoredValue{REG_DWORD, {0x34, 0x12}}, false}, 9,
                   true, 0x1234},
        NumberCase{{"BinaryIsWrongType", StoredValue{REG_BINARY, {1, 0, 0, 0}}, false}, 9, false,
                   9},
        NumberCase{{"MissingValue", std::nullopt, false}, -1, false, -1},
        NumberCase{{"MissingKey", std::nullopt, true}, 9, false, 9}),
    [](const testing::TestParamInfo<NumberCase>& info) { return info.param.read.label; });

}  // namespace

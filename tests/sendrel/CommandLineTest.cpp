// Argument rules beyond what the end-to-end runs show: pending flags, replacements, limits.
#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>
#include <vector>

#include "sendrel/CommandLine.h"

namespace {

struct ParseCase {
    const char* label;
    std::vector<std::string> arguments;
    std::string name;
    int32_t count;
    bool foreground;
};

void PrintTo(const ParseCase& c, std::ostream* out) { *out << c.label; }

class ParseCommandLineTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseCommandLineTest, Reads) {
    const ParseCase& c = GetParam();
    CommandLine parsed = ParseCommandLine(c.arguments);
    EXPECT_EQ(c.name, parsed.shortcutName);
    EXPECT_EQ(c.count, parsed.repeatCount);
    EXPECT_EQ(c.foreground, parsed.foreground);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ParseCommandLineTest,
    testing::Values(
        ParseCase{"Nothing", {}, "", 1, false},
        ParseCase{"NameOptionLast", {"/s"}, "", 1, false},
        ParseCase{"CountOptionLastKeepsCount", {"/c", "4", "/c"}, "", 4, false},
        ParseCase{"OneArgumentIsNameAndCount", {"/s", "/c", "5"}, "5", 5, false},
        ParseCase{"PendingSurvivesOtherOptions", {"/s", "/f", "go"}, "go", 1, true},
        ParseCase{"CountWithoutDigits", {"/c", "x", "/s", "go"}, "go", 0, false},
        ParseCase{"NegativeCount", {"/c", "-3"}, "", -3, false},
        ParseCase{"HugeCountSaturates", {"/c", "99999999999"}, "", INT_MAX, false},
        ParseCase{"EarlyPlainIgnoredLaterNameWins", {"go", "/s", "one", "/s", "two"}, "two", 1,
                  false},
        ParseCase{"ValueJoinedToOptionIsNoValue", {"/sgo"}, "", 1, false},
        ParseCase{"JoinedOptionStillWaitsForName", {"/sgo", "next"}, "next", 1, false},
        ParseCase{"LongOptionWords", {"/Shortcut", "go", "/FRONT", "/Count", "2"}, "go", 2, true},
        ParseCase{"SlashAloneOrOtherLetter", {"/", "go", "/x", "go"}, "", 1, false},
        ParseCase{"HyphenIsPlain", {"-s", "go", "-f"}, "", 1, false}),
    [](const testing::TestParamInfo<ParseCase>& info) { return info.param.label; });

}  // namespace

// Sendrel started two thousand times with random argument lists against valid and malformed
// shortcut definitions. Every run must end with exit code 0, and the target window must get
// exactly the posts of the runs whose arguments name a usable shortcut, no others.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tests/reliability/Figures.h"
#include "tests/support/Process.h"
#include "tests/support/Registry.h"
#include "tests/support/Windows.h"

namespace {

using namespace reliability;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kFuzzSeed = 7051;  // part n runs with seed kFuzzSeed + n
constexpr int kParts = 4;             // each part is its own test, within the test time limit
constexpr int kRunsPerPart = 500;
constexpr size_t kConcurrentRuns = 8;
constexpr int32_t kMaxPostsPerRun = 3;  // 35 ms each: longer runs only cost time
constexpr DWORD kRunTimeout = 20000;

const char kShortcutsKey[] = "Software\\Vantorel\\Sendrel\\Shortcuts";
const char kTargetClass[] = "SendrelFuzzTarget";
const char kTargetCaption[] = "Sendrel fuzz target";
const char kRegisteredName[] = "SendrelFuzzRegistered";

Bytes bytesOf(const std::string& text, bool terminator = true) {
    Bytes data(text.begin(), text.end());
    if (terminator) data.push_back(0);
    return data;
}

Bytes dwordBytes(uint32_t value) {
    Bytes data(4);
    std::memcpy(data.data(), &value, 4);
    return data;
}

// One shortcut definition: its values and the one post it stands for (identified by LPARAM).
struct Shortcut {
    std::string name;
    std::vector<std::tuple<std::string, DWORD, Bytes>> values;
    enum { Posts, Never, Either } outcome;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

std::vector<Shortcut> shortcuts(UINT registered) {
    auto cls = [] { return std::make_tuple(std::string("Class"), DWORD(REG_SZ), bytesOf(kTargetClass)); };
    auto dword = [](const char* name, uint32_t value) {
        return std::make_tuple(std::string(name), DWORD(REG_DWORD), dwordBytes(value));
    };
    auto text = [](const char* name, const std::string& value) {
        return std::make_tuple(std::string(name), DWORD(REG_SZ), bytesOf(value));
    };
    auto raw = [](const char* name, DWORD type, Bytes data) {
        return std::make_tuple(std::string(name), type, std::move(data));
    };
    Bytes binaryClass = bytesOf(kTargetClass);
    binaryClass.insert(binaryClass.end(), {'j', 'u', 'n', 'k'});
    Bytes longDword = dwordBytes(WM_APP + 27);
    longDword.insert(longDword.end(), {0xEF, 0xBE, 0xAD, 0xDE});
    return {
        // Usable definitions.
        {"good", {cls(), dword("Message", WM_APP + 1), dword("LPARAM", 101), dword("WPARAM", 7)},
         Shortcut::Posts, WM_APP + 1, 7, 101},
        {"by caption", {text("Caption", kTargetCaption), text("Message", "32770"), dword("LPARAM", 102)},
         Shortcut::Posts, WM_APP + 2, 0, 102},
        {"registered", {cls(), text("RegisteredMessage", kRegisteredName), dword("LPARAM", 103)},
         Shortcut::Posts, registered, 0, 103},
        {"deep\\er", {cls(), dword("Message", WM_APP + 4), dword("LPARAM", 104)},
         Shortcut::Posts, WM_APP + 4, 0, 104},
        {"binary class", {raw("Class", REG_BINARY, binaryClass), dword("Message", WM_APP + 6),
                          dword("LPARAM", 106), raw("WPARAM", REG_BINARY, {9, 9, 9, 9})},
         Shortcut::Posts, WM_APP + 6, 0, 106},
        {"text numbers", {cls(), text("Message", "  32775xyz"), text("LPARAM", "107abc"),
                          text("WPARAM", "-1")},
         Shortcut::Posts, WM_APP + 7, 0xFFFFFFFF, 107},
        {"class wins", {cls(), text("Caption", "No such caption"), dword("Message", WM_APP + 8),
                        dword("LPARAM", 108)},
         Shortcut::Posts, WM_APP + 8, 0, 108},
        // Malformed: nothing may be posted.
        {"no window named", {dword("Message", WM_APP + 20), dword("LPARAM", 120)}, Shortcut::Never},
        {"dword class", {dword("Class", 0x41414141), dword("Message", WM_APP + 21), dword("LPARAM", 121)},
         Shortcut::Never},
        {"missing window", {text("Class", "NoSuchClassAnywhere"), dword("Message", WM_APP + 22),
                            dword("LPARAM", 122)},
         Shortcut::Never},
        {"long class", {text("Class", std::string(10000, 'L')), text("Caption", std::string(5000, 'C')),
                        dword("Message", WM_APP + 23), dword("LPARAM", 123)},
         Shortcut::Never},
        {"binary message", {cls(), raw("Message", REG_BINARY, {1, 0x80, 0, 0}), dword("LPARAM", 124)},
         Shortcut::Never},
        {"minus one", {cls(), dword("Message", 0xFFFFFFFF), text("RegisteredMessage", kRegisteredName),
                       dword("LPARAM", 125)},
         Shortcut::Never},
        {"empty binary class", {raw("Class", REG_BINARY, {}), raw("Caption", REG_BINARY, {0, 'x'}),
                                dword("Message", WM_APP + 26), dword("LPARAM", 126)},
         Shortcut::Never},
        {"qword message", {cls(), raw("Message", REG_QWORD, dwordBytes(WM_APP + 28)), dword("LPARAM", 128)},
         Shortcut::Never},
        // Which number an oversized REG_DWORD gives is open; it must not hurt either way.
        {"long dword", {cls(), raw("Message", REG_DWORD, longDword), dword("LPARAM", 127)},
         Shortcut::Either, WM_APP + 27, 0, 127},
    };
}

// The documented command line: "/c" and "/s" make the next plain argument the count or the
// name (one may serve both, name first); only an option's second character counts.
struct Request {
    std::string name;
    int32_t count = 1;
    bool nameSet = false;
};

int32_t decimal(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL << 40);
    }
    value = negative ? -value : value;
    return static_cast<int32_t>(std::max<long long>(INT32_MIN, std::min<long long>(INT32_MAX, value)));
}

Request interpret(const std::vector<std::string>& arguments) {
    Request request;
    bool countPending = false;
    bool namePending = false;
    for (const std::string& argument : arguments) {
        if (!argument.empty() && argument[0] == '/') {
            const char option = argument.size() > 1 ? static_cast<char>(std::tolower(
                                                          static_cast<unsigned char>(argument[1])))
                                                    : '\0';
            countPending |= option == 'c';
            namePending |= option == 's';
            continue;
        }
        if (namePending) {
            request.name = argument;
            request.nameSet = true;
            namePending = false;
        }
        if (countPending) {
            request.count = decimal(argument);
            countPending = false;
        }
    }
    return request;
}

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The usual quoting of an argument vector, so that the program's runtime splits it back into
// exactly these arguments.
std::string quote(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

class ArgumentFuzzer {
public:
    ArgumentFuzzer(uint32_t seed, std::vector<std::string> names)
        : random_(seed), names_(std::move(names)) {}

    // Half the lists are random tokens; the other half are shaped like real use (a name after
    // "/s", perhaps a count and "/f"), with noise mixed in, so that usable runs are common too.
    std::vector<std::string> next() {
        std::vector<std::string> arguments;
        if (below(2) == 0) {
            const size_t count = below(9);
            for (size_t i = 0; i < count; ++i) arguments.push_back(token());
            return arguments;
        }
        static const char* const counts[] = {"0", "1", "2", "3", "-4", " 2", "3x", "x"};
        if (below(3) == 0) arguments.push_back(token());
        arguments.push_back(below(4) ? "/s" : "/Shortcut");
        arguments.push_back(below(4) ? names_[below(names_.size())] : token());
        if (below(2)) {
            arguments.push_back(below(3) ? "/c" : "/COUNT");
            arguments.push_back(counts[below(sizeof counts / sizeof counts[0])]);
        }
        if (below(3) == 0) arguments.push_back("/f");
        if (below(3) == 0) arguments.insert(arguments.begin() + static_cast<std::ptrdiff_t>(below(arguments.size() + 1)), token());
        return arguments;
    }

private:
    size_t below(size_t bound) { return static_cast<size_t>(random_() % bound); }
    template <size_t N>
    const char* pick(const char* const (&choices)[N]) { return choices[below(N)]; }

    std::string randomText(size_t length) {
        static const char alphabet[] = "abcXYZ019 -_/\"\\.,;:!?~\t";
        std::string text;
        for (size_t i = 0; i < length; ++i) text += alphabet[below(sizeof alphabet - 1)];
        return text;
    }

    std::string caseVariant(std::string text) {
        for (char& c : text) {
            if (below(3) == 0) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        return text;
    }

    std::string token() {
        static const char* const options[] = {"/s", "/S", "/shortcut", "/c", "/C", "/count",
                                              "/f", "/F", "/", "/x", "//s", "/sgood", "-s", "/ c"};
        static const char* const numbers[] = {"0", "1", "2", "3", "-1", "+2", " 3", "2abc",
                                              "0x10", "abc", "", "99999999999999999999",
                                              "-2147483649", "2147483647", "007"};
        switch (below(10)) {
            case 0:
            case 1:
            case 2:
                return pick(options);
            case 3:
            case 4:
                return numbers[below(sizeof numbers / sizeof numbers[0])];
            case 5:
            case 6:
                return caseVariant(names_[below(names_.size())]);
            case 7:
                return randomText(1 + below(12));
            case 8:
                return std::string(1 + below(1500), "xs/\"\\"[below(5)]);
            default:
                return "\"" + names_[below(names_.size())] + "\" extra\\\"";
        }
    }

    std::mt19937 random_;
    std::vector<std::string> names_;
};

struct Target {
    std::map<LPARAM, long long> received;
    long long foreign = 0;
    std::map<LPARAM, std::pair<UINT, WPARAM>> expected;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Target*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && message >= WM_APP && message <= 0xFFFF) {
            auto known = self->expected.find(lParam);
            if (known != self->expected.end() && known->second.first == message &&
                known->second.second == wParam) {
                ++self->received[lParam];
            } else {
                ++self->foreign;
            }
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

struct ChildRun {
    HANDLE process = nullptr;
    DWORD started = 0;
};

class SendrelFuzz : public ::testing::TestWithParam<int> {};

TEST_P(SendrelFuzz, RandomArgumentListsExitCleanlyAndPostOnlyWhenValid) {
    const int part = GetParam();
    const uint32_t seed = kFuzzSeed + static_cast<uint32_t>(part);
    testing_support::VendorKeyScratch scratch;
    const UINT registered = RegisterWindowMessageA(kRegisteredName);
    const std::vector<Shortcut> table = shortcuts(registered);
    std::vector<std::string> names{"deep", "nonexistent", "good\\missing", std::string(300, 'n'),
                                   "GOOD", "  good"};
    Target target;
    for (const Shortcut& shortcut : table) {
        const std::string key = std::string(kShortcutsKey) + "\\" + shortcut.name;
        testing_support::createKey(key);
        for (const auto& [name, type, data] : shortcut.values) {
            testing_support::setRaw(key, name, type, data);
        }
        names.push_back(shortcut.name);
        if (shortcut.outcome != Shortcut::Never) {
            target.expected[shortcut.lParam] = {shortcut.message, shortcut.wParam};
        }
    }

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Target::procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kTargetClass;
    ASSERT_TRUE(RegisterClassA(&windowClass));
    HWND window = CreateWindowExA(0, kTargetClass, kTargetCaption, WS_OVERLAPPED, 0, 0, 50, 20,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&target));

    std::map<std::string, const Shortcut*> byName;
    for (const Shortcut& shortcut : table) byName[lower(shortcut.name)] = &shortcut;

    ArgumentFuzzer fuzzer(seed, names);
    const std::string program = "\"" + testing_support::programPath("Sendrel.exe") + "\"";
    std::map<LPARAM, long long> expectedPosts;
    std::map<LPARAM, long long> eitherPosts;
    long long validRuns = 0;
    long long nonZeroExits = 0;
    long long timeouts = 0;
    long long startFailures = 0;
    long long rejected = 0;
    std::vector<ChildRun> running;
    const DWORD start = GetTickCount();

    auto reap = [&](size_t index) {
        DWORD code = 0;
        GetExitCodeProcess(running[index].process, &code);
        if (code != 0) {
            ++nonZeroExits;
            ADD_FAILURE() << "exit code " << code;
        }
        CloseHandle(running[index].process);
        running.erase(running.begin() + static_cast<std::ptrdiff_t>(index));
    };
    auto waitForOne = [&] {
        std::vector<HANDLE> handles;
        for (const ChildRun& run : running) handles.push_back(run.process);
        const DWORD wait = MsgWaitForMultipleObjects(static_cast<DWORD>(handles.size()),
                                                     handles.data(), FALSE, 20, QS_ALLINPUT);
        testing_support::pumpMessages(0);
        if (wait < WAIT_OBJECT_0 + handles.size()) {
            reap(wait - WAIT_OBJECT_0);
            return;
        }
        for (size_t i = 0; i < running.size(); ++i) {
            if (GetTickCount() - running[i].started > kRunTimeout) {
                TerminateProcess(running[i].process, 1);
                WaitForSingleObject(running[i].process, 1000);
                ++timeouts;
                CloseHandle(running[i].process);
                running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
                return;
            }
        }
    };

    for (int runIndex = 0; runIndex < kRunsPerPart; ++runIndex) {
        std::vector<std::string> arguments;
        Request request;
        const Shortcut* shortcut = nullptr;
        for (;;) {
            arguments = fuzzer.next();
            request = interpret(arguments);
            auto found = byName.find(lower(request.name));
            shortcut = found == byName.end() ? nullptr : found->second;
            if (!shortcut || shortcut->outcome == Shortcut::Never ||
                request.count <= kMaxPostsPerRun) {
                break;
            }
            ++rejected;  // a usable shortcut with a huge count would only take time
        }
        if (shortcut && shortcut->outcome != Shortcut::Never && request.count > 0) {
            ++validRuns;
            (shortcut->outcome == Shortcut::Posts ? expectedPosts : eitherPosts)[shortcut->lParam] +=
                request.count;
        }

        std::string commandLine = program;
        for (const std::string& argument : arguments) commandLine += " " + quote(argument);
        std::vector<char> line(commandLine.begin(), commandLine.end());
        line.push_back(0);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        while (running.size() >= kConcurrentRuns) waitForOne();
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process)) {
            ++startFailures;
            ADD_FAILURE() << "cannot start a command line of " << commandLine.size()
                          << " characters: error " << GetLastError();
            continue;
        }
        CloseHandle(process.hThread);
        running.push_back({process.hProcess, GetTickCount()});
        if (runIndex % 100 == 99) {
            std::printf("sendrel fuzz: %d runs started after %lu ms\n", runIndex + 1,
                        GetTickCount() - start);
            std::fflush(stdout);
        }
    }
    while (!running.empty()) waitForOne();
    testing_support::pumpMessages(300);
    const DWORD elapsed = GetTickCount() - start;
    DestroyWindow(window);

    long long posts = 0;
    for (const auto& [lParam, count] : target.received) posts += count;
    long long expectedTotal = 0;
    long long receivedOfUsable = 0;
    for (const auto& [lParam, count] : expectedPosts) {
        expectedTotal += count;
        receivedOfUsable += target.received[lParam];
    }
    const std::string prefix = "sendrel part " + std::to_string(part + 1) + " of " +
                               std::to_string(kParts) + " (seed " + std::to_string(seed) + "): ";
    reportFigure(prefix + "runs (with a usable shortcut)",
                 std::to_string(kRunsPerPart) + " (" + std::to_string(validRuns) + ")");
    reportFigure(prefix + "posts of usable shortcuts expected / received",
                 std::to_string(expectedTotal) + " / " + std::to_string(receivedOfUsable));
    reportFigure(prefix + "posts of the oversized REG_DWORD shortcut / of malformed ones",
                 std::to_string(posts - receivedOfUsable) + " / " + std::to_string(target.foreign));
    reportFigure(prefix + "lists redrawn (usable shortcut, count over 3)", rejected);
    reportFigure(prefix + "non-zero exits", nonZeroExits + timeouts + startFailures);
    reportFigure(prefix + "seconds", elapsed / 1000);
    if (part == 0) {
        const long long usable = std::count_if(table.begin(), table.end(), [](const Shortcut& s) {
            return s.outcome == Shortcut::Posts;
        });
        reportFigure("sendrel shortcut definitions (usable / malformed or open)",
                     std::to_string(usable) + " / " +
                         std::to_string(static_cast<long long>(table.size()) - usable));
    }

    EXPECT_EQ(0, nonZeroExits);
    EXPECT_EQ(0, timeouts);
    EXPECT_EQ(0, startFailures);
    EXPECT_EQ(0, target.foreign) << "posts no definition stands for";
    for (const auto& [lParam, count] : expectedPosts) {
        EXPECT_EQ(count, target.received[lParam]) << "posts of the shortcut tagged " << lParam;
    }
    for (const auto& [lParam, count] : eitherPosts) {
        const long long got = target.received[lParam];
        EXPECT_TRUE(got == 0 || got == count) << "tag " << lParam << ": " << got << " of " << count;
    }
    for (const Shortcut& shortcut : table) {
        if (shortcut.outcome == Shortcut::Posts) {
            EXPECT_GT(expectedPosts[shortcut.lParam], 0) << shortcut.name << " was never run";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Parts, SendrelFuzz, ::testing::Range(0, kParts));

}  // namespace

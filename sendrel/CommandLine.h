// What a run of Sendrel was asked to do, from its argument vector.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CommandLine {
    int32_t repeatCount = 1;
    bool foreground = false;
    std::string shortcutName;
};

// `arguments` are those after the program's own path. "/c" and "/s" make the next plain
// argument the count or the name (one plain argument may serve both, name first); "/f" asks
// for the foreground. Only the second character of an option counts, in either case.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// Sendrel: posts a registry-defined message to another program's window and ends.
// Usage: Sendrel /s <shortcut> [/c <count>] [/f]
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "sendrel/CommandLine.h"
#include "sendrel/ShortcutPoster.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The runtime's argument vector follows the usual quoting rules; lpCmdLine would not.
    try {
        std::vector<std::string> arguments;
        for (int index = 1; index < __argc; ++index) arguments.emplace_back(__argv[index]);
        RunShortcut(ParseCommandLine(arguments));
    } catch (...) {
        // Nothing is ever reported; the run simply ends.
    }
    return 0;
}

#include "sendrel/CommandLine.h"

#include <cctype>

#include "sendrel/DecimalText.h"

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    bool countPending = false;
    bool namePending = false;
    for (const std::string& argument : arguments) {
        if (!argument.empty() && argument[0] == '/') {
            // A slash alone has '\0' as its second character and so no effect.
            switch (std::tolower(static_cast<unsigned char>(argument.c_str()[1]))) {
            case 'c': countPending = true; break;
            case 'f': result.foreground = true; break;
            case 's': namePending = true; break;
            default: break;
            }
            continue;
        }
        if (namePending) {
            result.shortcutName = argument;
            namePending = false;
        }
        if (countPending) {
            result.repeatCount = ParseDecimal(argument);
            countPending = false;
        }
    }
    return result;
}

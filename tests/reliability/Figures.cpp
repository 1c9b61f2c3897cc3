#include "tests/reliability/Figures.h"

#include <cstdio>

#include "tests/support/Process.h"

namespace reliability {

void reportFigure(const std::string& name, const std::string& value) {
    std::printf("FIGURE %s: %s\n", name.c_str(), value.c_str());
    std::fflush(stdout);
    const std::string path = testing_support::binFolder() + "reliability-figures.txt";
    if (FILE* file = std::fopen(path.c_str(), "a")) {
        std::fprintf(file, "FIGURE %s: %s\n", name.c_str(), value.c_str());
        std::fclose(file);
    }
}

void reportFigure(const std::string& name, long long value) {
    reportFigure(name, std::to_string(value));
}

}  // namespace reliability

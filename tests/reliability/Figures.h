// Figures the reliability tests measure: printed as "FIGURE <name>: <value>" and appended to
// reliability-figures.txt beside the test program, where scripts/reliability-figures.sh
// collects them (the latest value of each name wins).
#pragma once

#include <cstdint>
#include <string>

namespace reliability {

void reportFigure(const std::string& name, const std::string& value);
void reportFigure(const std::string& name, long long value);

}  // namespace reliability

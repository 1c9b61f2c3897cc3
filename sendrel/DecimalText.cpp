#include "sendrel/DecimalText.h"

#include <cstdlib>
#include <limits>

int32_t ParseDecimal(const std::string& text) {
    // strtoll already saturates at 64 bits and reports no error we need; clamping to 32 bits
    // finishes the job. Base 10 keeps "0x10" at 0.
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

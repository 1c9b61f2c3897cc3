// Decimal text to a 32-bit number, the way atoi reads it but without its overflow.
#pragma once

#include <cstdint>
#include <string>

// Leading white space, an optional sign, then decimal digits up to the first other
// character; 0 when there are none; no hexadecimal form. Values beyond 32 bits saturate at
// INT32_MAX / INT32_MIN instead of wrapping.
int32_t ParseDecimal(const std::string& text);

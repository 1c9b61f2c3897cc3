// PNG files of window captures, through the system's imaging codecs.
#pragma once

#include <string>

#include "tests/support/Windows.h"

namespace testing_support {

// Writes a capture as a PNG file; false when the codec or the file is not available.
bool savePng(const Capture& capture, const std::string& path);

}  // namespace testing_support

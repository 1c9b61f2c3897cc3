// Child processes for tests: the programs of this build, started for real.
#pragma once

#include <windows.h>

#include <string>

namespace testing_support {

// Folder of the running test program, with a trailing backslash; the build puts every
// program and the DLL there.
std::string binFolder();

// Full path of a program of the build, e.g. programPath("Sendrel.exe").
std::string programPath(const std::string& fileName);

// Runs a command line, pumping this thread's messages while it runs (so that a child may
// send messages to windows of the test). Returns the exit code, or -1 when it could not start
// or did not end within the timeout.
long runProcess(const std::string& commandLine, DWORD timeoutMilliseconds = 30000);

}  // namespace testing_support

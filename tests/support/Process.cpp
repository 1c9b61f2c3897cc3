#include "tests/support/Process.h"

#include <vector>

#include <gtest/gtest.h>

#include "tests/support/Windows.h"

namespace testing_support {

std::string binFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::string programPath(const std::string& fileName) { return binFolder() + fileName; }

long runProcess(const std::string& commandLine, DWORD timeoutMilliseconds) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    // Under a heavily loaded Wine a start can fail once for reasons of the host (seen on a
    // shared CI machine); a second try tells that apart from a program that cannot start.
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt) Sleep(250);
        started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &process);
    }
    if (!started) {
        ADD_FAILURE() << "cannot start " << commandLine << " (error " << GetLastError() << ")";
        return -1;
    }
    CloseHandle(process.hThread);
    DWORD start = GetTickCount();
    long result = -1;
    for (;;) {
        DWORD wait = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 10, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            result = static_cast<long>(code);
            break;
        }
        pumpMessages(0);
        if (GetTickCount() - start > timeoutMilliseconds) {
            TerminateProcess(process.hProcess, 1);
            break;
        }
    }
    CloseHandle(process.hProcess);
    return result;
}

}  // namespace testing_support

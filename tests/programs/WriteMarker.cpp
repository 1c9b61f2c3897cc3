// Stands in for a program the band starts: leaves a trace that the test can see.
// Usage: WriteMarker.exe <marker file> [anything]. Writes its whole command line into the file.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 2) return 2;
    HANDLE file = CreateFileA(__argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    const char* line = GetCommandLineA();
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(strlen(line)), &written, nullptr);
    CloseHandle(file);
    return 0;
}

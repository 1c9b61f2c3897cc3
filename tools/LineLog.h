// Line log of the demo tools: every line goes whole to standard output and, when a file is
// given, is appended to that file. Several processes (a player started again by the band, the
// demo script's own notes) append to one file, so each line is a single write: readers never
// see half a line and nothing already logged is lost if a process dies.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>

class LineLog {
public:
    LineLog() = default;
    ~LineLog() {
        if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    }
    LineLog(const LineLog&) = delete;
    LineLog& operator=(const LineLog&) = delete;

    // Appends to `path` from now on; false when it cannot be opened.
    bool appendTo(const char* path) {
        // Append-only access makes every write land at the current end of the file.
        file_ = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        return file_ != INVALID_HANDLE_VALUE;
    }

    void setPrefix(std::string prefix) { prefix_ = std::move(prefix); }

    void line(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        va_list arguments;
        va_start(arguments, format);
        std::string text = prefix_ + vformat(format, arguments) + "\n";
        va_end(arguments);
        write(GetStdHandle(STD_OUTPUT_HANDLE), text);
        write(file_, text);
    }

    // Errors go to standard error only.
    static void error(const char* format, ...) __attribute__((format(printf, 1, 2))) {
        va_list arguments;
        va_start(arguments, format);
        std::string text = vformat(format, arguments) + "\n";
        va_end(arguments);
        write(GetStdHandle(STD_ERROR_HANDLE), text);
    }

private:
    static std::string vformat(const char* format, va_list arguments) {
        va_list copy;
        va_copy(copy, arguments);
        int length = std::vsnprintf(nullptr, 0, format, copy);
        va_end(copy);
        if (length <= 0) return {};
        std::string text(static_cast<size_t>(length) + 1, '\0');
        std::vsnprintf(text.data(), text.size(), format, arguments);
        text.resize(static_cast<size_t>(length));
        return text;
    }

    static void write(HANDLE handle, const std::string& text) {
        if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }

    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::string prefix_;
};

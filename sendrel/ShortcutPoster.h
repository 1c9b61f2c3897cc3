// Finds a shortcut's window and posts the shortcut's message to it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "sendrel/CommandLine.h"

// Per-user key that holds one subkey per shortcut.
constexpr char kShortcutsKey[] = "Software\\Vantorel\\Sendrel\\Shortcuts";

// Pause after every post, so the receiver sees the messages spaced out.
constexpr DWORD kPostPauseMilliseconds = 35;

struct ShortcutTarget {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// The shortcut's window (by "Class", else by "Caption") and its message ("Message", else
// "RegisteredMessage"); none when the window is not found or the message is -1.
std::optional<ShortcutTarget> LookUpShortcut(const std::string& name);

// Makes `window` the foreground window, borrowing the current foreground thread's input so
// that a program without windows of its own may do so.
void BringToForeground(HWND window);

// The whole run: look the shortcut up, optionally bring its window forward, post the
// message the requested number of times.
void RunShortcut(const CommandLine& commandLine);

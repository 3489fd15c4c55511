// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>
#include <chrono>
#include <string>
#include <vector>

// What differs between the systems the program runs on, Linux (X11 and Wayland), Windows and a
// browser, beyond what Qt hides: where messages go, whether a window can be opened, the timer
// precision, how a pause waits, where the window's font is, how native key codes read and who
// learns that the program has ended. The start-up, the pause and the keypad table ask here, so
// that no lesson code needs to know the system.
namespace Host {

// How the window system's native key codes read: X keysyms (X11 and Wayland), Windows' virtual
// keys and scan codes, or none at all (a browser, which tells a keypad key only by its place on
// the keyboard, and Qt then marks it KeypadModifier).
enum class NativeKeys { XKeysyms, Windows, None };

// Those of the window system the program runs on; X keysyms before the application exists.
NativeKeys nativeKeys();

// Whether a window can be opened at all: under Linux a display must be named; Windows always has
// its desktop.
bool hasDisplay();

// The command line's arguments, the program's name left out, in UTF-8 as on Linux: Windows hands
// a program's main() its arguments in the system's legacy code page instead.
std::vector<std::string> arguments(int argc, char *argv[]);

enum class Stream { Output, Error };

// Shows a message of the command line (help, version, a refusal) where the user sees it: on the
// standard output or error where the program has one, and where it has none (a Windows program
// started from Explorer or a shortcut), in a message box.
void tell(Stream stream, const std::string &text);

// Folders that hold the window's font, Tahoma, for the program to load, where the system does not
// offer it itself.
QStringList fontFolders();

// Whether the system itself offers Tahoma to every program, as Windows does, so that it can never
// be missing there.
bool systemOffersTahoma();

// The families that stand in for Tahoma where it is missing, in order: sans-serif, as Tahoma is.
// Without them Qt takes whatever the system gives by default, on Windows a serif face.
QStringList sansSerifFamilies();

// Waits that long within a pause. Linux and Windows put the thread to sleep; a browser has one
// thread for the page and the program, so there the page gets the time, paints and takes input,
// and the program goes on where it stopped.
void wait(std::chrono::steady_clock::duration duration);

// Whether the window fills the screen: a browser's page is the program's screen, which the
// program's window fills, following its size and orientation, with the form in it.
bool fillsScreen();

// Tells whoever started the program that it has ended with this status: in a browser the page,
// which then says so; elsewhere the system learns it from the process, and this does nothing.
void ended(int status);

// Asks the system for timers of one millisecond while it lives, so that pauses keep their
// length: Windows otherwise wakes a sleep at its 15.6 ms tick. Elsewhere timers are precise.
class FineTimers {
public:
    FineTimers();
    ~FineTimers();
    FineTimers(const FineTimers &) = delete;
    FineTimers &operator=(const FineTimers &) = delete;

private:
    bool m_granted = false;
};

}

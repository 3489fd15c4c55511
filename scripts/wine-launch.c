// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Starts a Windows program as Windows would, for scripts/wine-run.sh:
//   wine-launch.exe PROGRAM.exe [ARGUMENT...]
// Wine hands the Unix environment through to every program it starts; this clears DISPLAY and
// WAYLAND_DISPLAY on the Windows side, then runs the program with its own command line (quotes and
// blanks as they came), standard input, output and error, and ends with its exit status.
#include <windows.h>

// The rest of a command line after its first word, as CreateProcess and the C runtime read it.
static wchar_t *afterFirstWord(wchar_t *line)
{
    if (*line == L'"') {
        ++line;
        while (*line && *line != L'"')
            ++line;
        if (*line)
            ++line;
    } else {
        while (*line && *line != L' ' && *line != L'\t')
            ++line;
    }
    while (*line == L' ' || *line == L'\t')
        ++line;
    return line;
}

int wmain(void)
{
    wchar_t *command = afterFirstWord(GetCommandLineW());
    if (!*command) {
        static const char usage[] = "usage: wine-launch.exe PROGRAM.exe [ARGUMENT...]\n";
        DWORD written;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), usage, sizeof usage - 1, &written, NULL);
        return 125;
    }
    SetEnvironmentVariableW(L"DISPLAY", NULL);
    SetEnvironmentVariableW(L"WAYLAND_DISPLAY", NULL);

    STARTUPINFOW startup = { 0 };
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process;
    if (!CreateProcessW(NULL, command, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process)) {
        static const char failed[] = "wine-launch: the program could not be started\n";
        DWORD written;
        WriteFile(startup.hStdError, failed, sizeof failed - 1, &written, NULL);
        return 127;
    }
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);
    return (int)status;
}

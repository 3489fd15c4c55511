// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Starts a Windows program as Windows would, for scripts/wine-run.sh:
//   wine-launch.exe PROGRAM.exe [ARGUMENT...]
//   wine-launch.exe --no-std-handles PROGRAM.exe [ARGUMENT...]
// Wine hands the Unix environment through to every program it starts; this clears DISPLAY and
// WAYLAND_DISPLAY on the Windows side, then runs the program with its own command line (quotes and
// blanks as they came), standard input, output and error, and ends with its exit status.
// With --no-std-handles the program starts as from Explorer or a shortcut: no standard handles and
// no console to attach to. A message box it shows is read back: its title and text go to the
// launcher's standard output, as "message box: TITLE", the text, and an empty line.
#include <windows.h>
#include <wchar.h>

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

static void writeUtf8(const wchar_t *text)
{
    char buffer[8192];
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, NULL, NULL);
    DWORD written;
    if (length > 1)
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), buffer, (DWORD)length - 1, &written, NULL);
}

struct Search {
    DWORD process;
    HWND box;
};

// A message box is a dialog (class #32770) whose text is the control of identifier 0xFFFF.
static BOOL CALLBACK findBox(HWND window, LPARAM parameter)
{
    struct Search *search = (struct Search *)parameter;
    DWORD process = 0;
    wchar_t kind[16];
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || !IsWindowVisible(window)
        || !GetClassNameW(window, kind, 16) || wcscmp(kind, L"#32770") != 0
        || !GetDlgItem(window, 0xFFFF))
        return TRUE;
    search->box = window;
    return FALSE;
}

// Waits for the process to end; reports each message box it shows, once.
static void waitReadingBoxes(HANDLE process, DWORD id)
{
    HWND reported = NULL;
    while (WaitForSingleObject(process, 50) == WAIT_TIMEOUT) {
        struct Search search = { id, NULL };
        EnumWindows(findBox, (LPARAM)&search);
        if (!search.box || search.box == reported)
            continue;
        wchar_t title[256];
        wchar_t text[4096];
        GetWindowTextW(search.box, title, 256);
        GetWindowTextW(GetDlgItem(search.box, 0xFFFF), text, 4096);
        writeUtf8(L"message box: ");
        writeUtf8(title);
        writeUtf8(L"\n");
        writeUtf8(text);
        writeUtf8(L"\n\n");
        reported = search.box;
    }
}

int wmain(void)
{
    wchar_t *command = afterFirstWord(GetCommandLineW());
    const BOOL noHandles = wcsncmp(command, L"--no-std-handles", 16) == 0
        && (command[16] == L' ' || command[16] == L'\t');
    if (noHandles)
        command = afterFirstWord(command);
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
    if (!noHandles) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    } else {
        // Nor a console of the launcher's, which the program would otherwise write to.
        FreeConsole();
    }
    PROCESS_INFORMATION process;
    if (!CreateProcessW(NULL, command, NULL, NULL, !noHandles, noHandles ? DETACHED_PROCESS : 0,
            NULL, NULL, &startup, &process)) {
        static const char failed[] = "wine-launch: the program could not be started\n";
        DWORD written;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), failed, sizeof failed - 1, &written, NULL);
        return 127;
    }
    CloseHandle(process.hThread);
    if (noHandles)
        waitReadingBoxes(process.hProcess, process.dwProcessId);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);
    return (int)status;
}

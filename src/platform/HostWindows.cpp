// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Host.h"

#include <string>
#include <vector>
#include <windows.h>
#include <shellapi.h>
#include <timeapi.h>

namespace Host {

namespace {

    std::wstring wide(const std::string &text)
    {
        const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
        std::wstring result(std::size_t(length), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), result.data(), length);
        return result;
    }

    bool writeAll(HANDLE handle, const std::string &text)
    {
        if (!handle || handle == INVALID_HANDLE_VALUE)
            return false;
        DWORD written = 0;
        return WriteFile(handle, text.data(), DWORD(text.size()), &written, nullptr)
            && written == text.size();
    }

}

std::vector<std::string> arguments(int, char *[])
{
    std::vector<std::string> result;
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return result;
    for (int i = 1; i < count; ++i) {
        const int length = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string argument(std::size_t(length > 0 ? length - 1 : 0), '\0');
        if (length > 1)
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, argument.data(), length, nullptr, nullptr);
        result.push_back(std::move(argument));
    }
    LocalFree(wide);
    return result;
}

bool hasDisplay()
{
    return true;
}

// A GUI program gets standard handles only where its starter passes them: a script or console
// that redirects them, or Wine started from a shell. From a console that does not, the text goes
// to that console; from Explorer, to a message box.
void tell(Stream stream, const std::string &text)
{
    const DWORD which = stream == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE;
    if (writeAll(GetStdHandle(which), text))
        return;
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
            OPEN_EXISTING, 0, nullptr);
        const bool written = writeAll(console, "\n" + text);
        if (console != INVALID_HANDLE_VALUE)
            CloseHandle(console);
        FreeConsole();
        if (written)
            return;
    }
    MessageBoxW(nullptr, wide(text).c_str(), L"Corvallo",
        MB_OK | (stream == Stream::Error ? MB_ICONERROR : MB_ICONINFORMATION));
}

// Tahoma is Windows' own font.
QStringList fontFolders()
{
    return {};
}

bool systemOffersTahoma()
{
    return true;
}

// Every Windows 10 and 11 has the first three; Wine offers the fonts of the Linux it runs on.
QStringList sansSerifFamilies()
{
    return { QStringLiteral("Segoe UI"), QStringLiteral("Arial"), QStringLiteral("Microsoft Sans Serif"),
        QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans") };
}

FineTimers::FineTimers()
    : m_granted(timeBeginPeriod(1) == TIMERR_NOERROR)
{
}

FineTimers::~FineTimers()
{
    if (m_granted)
        timeEndPeriod(1);
}

}

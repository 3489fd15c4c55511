// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CommandLine.h"

#include <algorithm>
#include <cstdio>

namespace CommandLine {

namespace {

    bool isBlank(char c)
    {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    }

    bool isDigit(char c)
    {
        return c >= '0' && c <= '9';
    }

    std::string_view trimmed(std::string_view text)
    {
        while (!text.empty() && isBlank(text.front()))
            text.remove_prefix(1);
        while (!text.empty() && isBlank(text.back()))
            text.remove_suffix(1);
        return text;
    }

    // The text as it may be shown on a terminal: bytes that are not printable ASCII are escaped,
    // and a very long text is cut.
    std::string printable(std::string_view text)
    {
        constexpr std::size_t Longest = 60;
        std::string shown;
        for (std::size_t i = 0; i < text.size() && i < Longest; ++i) {
            const auto byte = static_cast<unsigned char>(text[i]);
            if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
                shown += static_cast<char>(byte);
            } else {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
                shown += escaped;
            }
        }
        if (text.size() > Longest)
            shown += "...";
        return shown;
    }

}

LevelText parseLevel(std::string_view text)
{
    text = trimmed(text);
    if (text.empty())
        return { LevelKind::Empty, 0 };

    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const auto point = text.find('.');
    std::string_view whole = text.substr(0, point);
    const std::string_view fraction
        = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    const auto allDigits
        = [](std::string_view part) { return std::all_of(part.begin(), part.end(), isDigit); };
    if ((whole.empty() && fraction.empty()) || !allDigits(whole) || !allDigits(fraction))
        return { LevelKind::Invalid, 0 };

    while (!whole.empty() && whole.front() == '0')
        whole.remove_prefix(1);
    if (whole.size() > 5)
        return { LevelKind::Invalid, 0 };
    std::int32_t magnitude = 0;
    for (char c : whole)
        magnitude = magnitude * 10 + (c - '0');

    // Round on the exact decimal text, so that no binary approximation decides a half.
    if (!fraction.empty()) {
        const bool beyondHalf
            = std::any_of(fraction.begin() + 1, fraction.end(), [](char c) { return c != '0'; });
        const char first = fraction.front();
        if (first > '5' || (first == '5' && (beyondHalf || magnitude % 2 == 1)))
            ++magnitude;
    }

    const std::int32_t value = negative ? -magnitude : magnitude;
    if (value < -32768 || value > 32767)
        return { LevelKind::Invalid, 0 };
    return { LevelKind::Level, static_cast<std::int16_t>(value) };
}

std::string usage()
{
    return "Usage: corvallo [LEVEL]\n"
           "Teaches the multiplication tables of 2 to 9.\n"
           "\n"
           "LEVEL starts a lesson at once instead of waiting in the menu:\n"
           "  1  the tables in order             2  the same, quick for the small tables\n"
           "  3  all 64 products in random order\n"
           "  4  the child answers each product   5  the same, faster\n"
           "  0  quits at once\n"
           "A fraction is rounded, halves to the even neighbour; below 1 counts as 1, above 5 as "
           "5.\n"
           "\n"
           "  --help     show this help and quit\n"
           "  --version  show the version and quit\n"
           "\n"
           "Exit status: 0 when the window is closed, 2 when LEVEL is not a number from -32768 to "
           "32767.\n";
}

Invocation interpret(const std::vector<std::string> &arguments)
{
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h"))
        return { Invocation::Action::Help, std::nullopt, usage() };
    if (arguments.size() == 1 && arguments[0] == "--version")
        return { Invocation::Action::Version, std::nullopt,
            std::string("corvallo ") + CORVALLO_VERSION + "\n" };

    std::string text;
    for (const std::string &argument : arguments)
        text += (text.empty() ? "" : " ") + argument;
    const LevelText parsed = parseLevel(text);
    switch (parsed.kind) {
    case LevelKind::Empty:
        return { Invocation::Action::Start, std::nullopt, {} };
    case LevelKind::Level:
        return { Invocation::Action::Start, parsed.level, {} };
    case LevelKind::Invalid:
        break;
    }
    return { Invocation::Action::Refuse, std::nullopt,
        "corvallo: \"" + printable(text)
            + "\" is not a level: give a number from 1 to 5, or 0 to quit (accepted: -32768 to "
              "32767)\n" };
}

}

// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CommandLine.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Feeds any bytes to the command-line reading and checks the decision against a plain one of its
// own: a number as the C library reads it, rounded halves to even, within the 16-bit range.
namespace {

using CommandLine::LevelKind;

[[noreturn]] void disagree(const std::string &text, const char *what)
{
    std::fprintf(stderr, "command line \"");
    for (unsigned char c : text)
        std::fprintf(stderr, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02X", c);
    std::fprintf(stderr, "\": %s\n", what);
    std::abort();
}

struct Reference {
    LevelKind kind;
    long value;
    bool decided; // false where long double holds too few digits to decide the rounding or range
};

Reference decide(const std::string &text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first])))
        ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1])))
        --last;
    const std::string number = text.substr(first, last - first);
    if (number.empty())
        return { LevelKind::Empty, 0, true };
    // Signs, digits and a point only: no exponents, hexadecimal, infinities or grouping.
    int significant = 0;
    bool leading = true;
    int trailingZeros = 0;
    for (char c : number) {
        if (c != '+' && c != '-' && c != '.' && !std::isdigit(static_cast<unsigned char>(c)))
            return { LevelKind::Invalid, 0, true };
        if (!std::isdigit(static_cast<unsigned char>(c)))
            continue;
        if (leading && c == '0')
            continue;
        leading = false;
        ++significant;
        trailingZeros = c == '0' ? trailingZeros + 1 : 0;
    }
    char *end = nullptr;
    const long double read = std::strtold(number.c_str(), &end);
    if (end != number.c_str() + number.size())
        return { LevelKind::Invalid, 0, true };
    const long double rounded = std::nearbyint(read); // ties to even, the default rounding
    const bool decided = significant - trailingZeros <= 18;
    if (rounded < -32768.0L || rounded > 32767.0L)
        return { LevelKind::Invalid, 0, decided };
    return { LevelKind::Level, static_cast<long>(rounded), decided };
}

void checkRefusal(const std::string &text)
{
    const auto invocation = CommandLine::interpret({ text });
    if (invocation.action != CommandLine::Invocation::Action::Refuse)
        disagree(text, "a refused level does not refuse the command line");
    const std::string &message = invocation.message;
    if (message.rfind("corvallo: ", 0) != 0 || message.empty() || message.back() != '\n'
        || message.find('\n') != message.size() - 1)
        disagree(text, "the refusal is not one line");
    for (unsigned char c : message)
        if (c != '\n' && (c < 0x20 || c >= 0x7F))
            disagree(text, "the refusal writes a byte that is not printable");
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    const CommandLine::LevelText parsed = CommandLine::parseLevel(text);
    const Reference reference = decide(text);

    if (parsed.kind == LevelKind::Level && (parsed.level < -32768 || parsed.level > 32767))
        disagree(text, "a level outside the 16-bit range");
    if (reference.decided || reference.kind == LevelKind::Empty) {
        if (parsed.kind != reference.kind)
            disagree(text, "accepted or refused unlike the reference");
        if (parsed.kind == LevelKind::Level && parsed.level != reference.value)
            disagree(text, "a level unlike the reference");
    } else if (parsed.kind == LevelKind::Empty) {
        disagree(text, "a number taken as an empty command line");
    }

    // The three options are the only texts that mean something else than a level.
    if (text == "--help" || text == "-h" || text == "--version")
        return 0;
    if (parsed.kind == LevelKind::Invalid) {
        checkRefusal(text);
    } else {
        const auto invocation = CommandLine::interpret({ text });
        if (invocation.action != CommandLine::Invocation::Action::Start
            || invocation.level.has_value() != (parsed.kind == LevelKind::Level)
            || (invocation.level && *invocation.level != parsed.level))
            disagree(text, "the command line does not start what the level says");
    }
    return 0;
}

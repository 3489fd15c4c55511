// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the command line asks for. Its whole text, the arguments joined by blanks, is the level
// to start at once: blanks around it, a sign and a decimal point are accepted, and a fraction is
// rounded to the nearest integer, halves to the even neighbour. The program's users are
// children: a text that is not a level is refused with a message, never taken silently.
namespace CommandLine {

enum class LevelKind { Empty, Level, Invalid };

struct LevelText {
    LevelKind kind = LevelKind::Empty;
    std::int16_t level = 0;
};

LevelText parseLevel(std::string_view text);

struct Invocation {
    enum class Action { Start, Help, Version, Refuse };
    Action action = Action::Start;
    std::optional<std::int16_t> level; // with Start: the level to choose at once, if any
    std::string message; // with Help, Version and Refuse: what to print
};

Invocation interpret(const std::vector<std::string> &arguments);

std::string usage();

}

// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

// Milliseconds per pause unit: the pace of a lesson. Larger is slower.
namespace Pace {
constexpr std::int32_t StartUp = 10; // also the pace of every level-1 lesson
constexpr std::int32_t Random = 6; // levels 3 and 4
constexpr std::int32_t Fastest = 3; // level 5 and above

// Level 2 slows down one unit with every table: 3 for the table of 2 ... 10 for the table of 9.
constexpr std::int32_t forTable(std::int32_t table)
{
    return table + 1;
}
}

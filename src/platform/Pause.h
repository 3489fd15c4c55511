// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <chrono>
#include <cstdint>
#include <limits>
#include <stdexcept>

// A pause of k units lasts DelayFactor × k milliseconds. The product is checked: a pace that
// overflows is a fault of the lesson, which then ends as if stopped.
inline std::chrono::milliseconds pauseUnits(std::int32_t delayFactor, std::int32_t units)
{
    const std::int64_t ms = std::int64_t { delayFactor } * units;
    if (ms > std::numeric_limits<std::int32_t>::max()
        || ms < std::numeric_limits<std::int32_t>::min())
        throw std::overflow_error("pause out of range");
    return std::chrono::milliseconds(ms);
}

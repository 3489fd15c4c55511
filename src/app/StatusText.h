// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <cstdint>

// The counter line of a lesson: what is left, right, wrong and the score.
QString statusText(int remaining, std::int32_t right, std::int32_t wrong, std::int32_t score);

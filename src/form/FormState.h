// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

// The form-level variables through which the handlers and procedures of the window talk to each
// other. The window owns one; procedures get it by reference. The question pool lives beside it.
struct FormState {
    std::int16_t Level = 0;
    bool QuizMode = false;
    std::int32_t DelayFactor = 0; // milliseconds per pause unit; larger is slower
    std::int32_t FontUnit = 0; // points, from the window's height
    bool Running = false;
    bool StopRequested = false;
    std::int16_t LastKey = 0; // 96 + digit, -1 for none
    std::int32_t RightCount = 0;
    std::int32_t WrongCount = 0;
    std::int32_t Score = 0;
};

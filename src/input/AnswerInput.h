// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FormContext.h"

#include <chrono>
#include <cstdint>

// Reads the child's answer while the digit pad is shown: one digit for a product below 10, two
// (tens first) otherwise, each within its own 150 ticks. A right answer scores the ticks left
// on its first digit, so the faster the child, the more points.
class AnswerInput {
public:
    explicit AnswerInput(FormContext form)
        : m_form(form)
    {
    }

    // Waits for one digit. remaining is written only when a digit came.
    void WaitDigit(bool &timedOut, std::int32_t &remaining, std::int32_t &digit);
    void ReadAnswer(std::int32_t expected, bool &timedOut, std::int32_t &answer);

private:
    FormContext m_form;
};

constexpr std::int32_t TicksPerDigit = 150;
constexpr std::int32_t TickUnits = 10; // a tick pauses DelayFactor × 10 ms, then pumps

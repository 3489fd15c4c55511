// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AnswerInput.h"

#include "DigitPad.h"
#include "FormControls.h"
#include "FormState.h"
#include "Frame.h"
#include "Pause.h"
#include "Platform.h"

#include <limits>
#include <stdexcept>

namespace {

// Points are added with overflow detection: a score out of range is a fault of the lesson, which
// then ends as if stopped, rather than a score that wraps round to a negative number.
std::int32_t addPoints(std::int32_t score, std::int32_t points)
{
    const std::int64_t sum = std::int64_t { score } + points;
    if (sum > std::numeric_limits<std::int32_t>::max()
        || sum < std::numeric_limits<std::int32_t>::min())
        throw std::overflow_error("score out of range");
    return static_cast<std::int32_t>(sum);
}

}

void AnswerInput::WaitDigit(bool &timedOut, std::int32_t &remaining, std::int32_t &digit)
{
    FormState &state = m_form.state;
    timedOut = true;
    state.LastKey = -1; // a digit given before the wait does not count
    std::int32_t ticks = 0;
    for (;;) {
        m_form.platform.sleep(pauseUnits(state.DelayFactor, TickUnits));
        m_form.platform.doEvents();
        ++ticks;
        // The limit and the stop come before the look at the digit: a digit that arrives in the
        // last tick, or together with a stop, is not taken.
        if (ticks >= TicksPerDigit || state.StopRequested) {
            digit = 0;
            return;
        }
        if (state.LastKey != -1)
            break;
    }
    timedOut = false;
    remaining = TicksPerDigit - ticks;
    digit = state.LastKey - KeypadZero;
}

void AnswerInput::ReadAnswer(std::int32_t expected, bool &timedOut, std::int32_t &answer)
{
    std::int32_t firstRemaining = 0;
    std::int32_t firstDigit = 0;
    std::int32_t secondDigit = 0;
    m_form.controls.FrameNum->setVisible(true);
    WaitDigit(timedOut, firstRemaining, firstDigit);
    answer = firstDigit;
    if (!timedOut && expected > 9) {
        std::int32_t unused = 0;
        WaitDigit(timedOut, unused, secondDigit);
        answer = firstDigit * 10 + secondDigit;
    }
    m_form.controls.FrameNum->setVisible(false);
    if (answer == expected)
        m_form.state.Score = addPoints(m_form.state.Score, firstRemaining);
}

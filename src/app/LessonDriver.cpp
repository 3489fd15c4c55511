// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "LessonDriver.h"

#include "FormControls.h"
#include "FormState.h"
#include "Label.h"
#include "Pace.h"
#include "Platform.h"
#include "QuestionPool.h"
#include "QuestionSequence.h"
#include "StatusText.h"

void LessonDriver::run()
{
    // A stopped lesson may have left questions behind; a lesson never starts with them.
    EmptyPool(m_pool);
    if (m_form.state.Level < 3)
        runTablesInOrder();
    else
        runFromPool();
}

void LessonDriver::runTablesInOrder()
{
    FormState &state = m_form.state;
    if (state.Level != 2)
        state.DelayFactor = Pace::StartUp;
    QuestionSequence sequence(m_form);
    for (std::int32_t a = 2; a <= 9; ++a) {
        if (state.Level == 2)
            state.DelayFactor = Pace::forTable(a);
        for (std::int32_t b = 2; b <= 9; ++b) {
            bool correct = true;
            sequence.PresentQuestion(a, b, correct);
            m_form.platform.doEvents();
            if (state.StopRequested)
                return;
        }
    }
}

void LessonDriver::runFromPool()
{
    FormState &state = m_form.state;
    Platform &platform = m_form.platform;
    state.DelayFactor = state.Level >= 5 ? Pace::Fastest : Pace::Random;
    FillPool(m_pool,
        { [&platform] { platform.reseed(); }, [&platform] { return platform.nextRandom(); } });
    state.RightCount = state.WrongCount = state.Score = 0;
    showStatus();

    QuestionSequence sequence(m_form);
    while (m_pool.count() > 0) {
        // Read from the last position down, so that removing a question moves none still to come.
        for (int position = m_pool.count(); position >= 1; --position) {
            const std::int32_t code = m_pool.item(position);
            const std::int32_t a = code / 10;
            const std::int32_t b = code - 10 * a;
            bool correct = true;
            sequence.PresentQuestion(a, b, correct);
            if (correct)
                m_pool.remove(position);
            showStatus();
            platform.doEvents();
            if (state.StopRequested)
                return;
        }
    }
}

void LessonDriver::showStatus()
{
    const FormState &state = m_form.state;
    m_form.controls.LabelG->setCaption(
        statusText(m_pool.count(), state.RightCount, state.WrongCount, state.Score));
}

// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "QuestionSequence.h"

#include "Animations.h"
#include "AnswerInput.h"
#include "FormControls.h"
#include "FormState.h"
#include "Label.h"
#include "Pause.h"
#include "Platform.h"

using namespace std::chrono_literals;

namespace {

constexpr auto MessageTime = 1000ms;
constexpr std::int32_t FactorStep = 16;
constexpr std::int32_t SignStep = 32;
constexpr std::int32_t QuestionMarkStep = 128;
constexpr std::int32_t ProductStep = 64;

}

double factorFontSize(std::int32_t fontUnit, std::int32_t factor)
{
    return static_cast<float>(std::int64_t { fontUnit } * 2 / 3.0 + std::int64_t { factor } * 8);
}

double productFontSize(std::int32_t fontUnit, std::int32_t a, std::int32_t b)
{
    return static_cast<float>(std::int64_t { fontUnit } * 3 / 2.0 + std::int64_t { a } * b);
}

void QuestionSequence::PresentQuestion(std::int32_t a, std::int32_t b, bool &correct)
{
    const FormControls &c = m_form.controls;
    FormState &state = m_form.state;
    Platform &platform = m_form.platform;
    Animations animations(m_form);
    const std::int32_t product = a * b;
    const auto pause
        = [&](std::int32_t units) { platform.sleep(pauseUnits(state.DelayFactor, units)); };

    correct = true;
    // Sized while still black, so that no resizing is seen.
    c.Label1->setFontSize(factorFontSize(state.FontUnit, a));
    c.Label2->setFontSize(factorFontSize(state.FontUnit, b));
    animations.FadeIn(*c.Label1, QString::number(a), FactorStep);
    animations.FadeIn(*c.LabelX, QStringLiteral("X"), SignStep);
    animations.FadeIn(*c.Label2, QString::number(b), FactorStep);
    if (state.StopRequested)
        return;
    animations.DrawDotGrid(a, b);
    if (state.StopRequested)
        return;
    pause(50);
    c.LabelR->setFontSize(productFontSize(state.FontUnit, a, b));

    if (state.QuizMode) {
        // A stop from here on still lets the answer be judged: it comes back as late.
        animations.FadeIn(*c.LabelR, QStringLiteral("?"), QuestionMarkStep);
        bool timedOut = false;
        std::int32_t answer = 0;
        AnswerInput(m_form).ReadAnswer(product, timedOut, answer);
        if (answer == product) {
            ++state.RightCount;
        } else {
            correct = false;
            ++state.WrongCount;
            c.LabelM->setCaption(timedOut ? QStringLiteral("Tempo!") : QStringLiteral("NO!"));
            c.LabelR->setVisible(false);
            c.LabelM->setVisible(true);
            platform.doEvents();
            platform.sleep(MessageTime);
            c.LabelM->setVisible(false);
            c.LabelR->setVisible(true);
            platform.doEvents();
        }
    }

    animations.FadeIn(*c.LabelR, QString::number(product), ProductStep);
    if (state.StopRequested)
        return;
    pause(state.QuizMode ? 200 : 300);
    animations.FadeOut();
    if (state.StopRequested)
        return;
    pause(50);
    if (!state.QuizMode || !correct)
        animations.Blink();
    if (state.StopRequested)
        return;
    pause(state.QuizMode ? 100 : 300);
}

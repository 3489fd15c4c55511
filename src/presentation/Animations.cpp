// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Animations.h"

#include "FormControls.h"
#include "FormState.h"
#include "Label.h"
#include "Pause.h"
#include "Platform.h"

using namespace std::chrono_literals;

namespace {

constexpr std::int32_t FadeInUnits = 6;
constexpr std::int32_t FadeOutUnits = 10;
constexpr auto BlinkOnTime = 150ms;
constexpr auto BlinkOffTime = 300ms;
constexpr std::int32_t RowUnits = 30;
constexpr std::int32_t GridShownUnits = 100;
constexpr std::int32_t DimUnits = 6;

}

void Animations::FadeIn(Label &label, const QString &text, std::int32_t step)
{
    label.setCaption(text);
    for (std::int32_t level = step; step > 0 && level <= 256; level += step) {
        label.setForeColor(grey(level - 1));
        m_form.platform.doEvents();
        m_form.platform.sleep(pauseUnits(m_form.state.DelayFactor, FadeInUnits));
        if (m_form.state.StopRequested)
            return;
    }
}

void Animations::FadeOut()
{
    const FormControls &c = m_form.controls;
    for (int level = 224; level >= 0; level -= 32) {
        c.Label1->setForeColor(grey(level));
        c.LabelX->setForeColor(grey(level));
        c.Label2->setForeColor(grey(level));
        if (level < GridRestingGrey)
            c.LabelP->setForeColor(grey(level));
        c.LabelR->setForeColor(grey(level));
        m_form.platform.doEvents();
        m_form.platform.sleep(pauseUnits(m_form.state.DelayFactor, FadeOutUnits));
        if (m_form.state.StopRequested)
            return;
    }
}

void Animations::Blink()
{
    const FormControls &c = m_form.controls;
    for (int flash = 1; flash <= 2; ++flash) {
        c.Label1->setForeColor(Colours::White);
        c.LabelX->setForeColor(Colours::White);
        c.Label2->setForeColor(Colours::White);
        c.LabelP->setForeColor(grey(GridRestingGrey));
        c.LabelR->setForeColor(Colours::White);
        m_form.platform.doEvents();
        m_form.platform.sleep(BlinkOnTime);
        for (Label *label : c.questionLabels())
            label->setForeColor(Colours::Black);
        m_form.platform.doEvents();
        m_form.platform.sleep(BlinkOffTime);
        if (m_form.state.StopRequested)
            return;
    }
}

void Animations::DrawDotGrid(std::int32_t a, std::int32_t b)
{
    const FormControls &c = m_form.controls;
    FormState &state = m_form.state;
    c.LabelR->setCaption(QString());
    c.LabelP->setCaption(QString());
    c.LabelP->setForeColor(Colours::White);
    const QString row = QStringLiteral(" O ").repeated(std::max(0, a)) + QStringLiteral("\r\n");
    for (std::int32_t i = 1; i <= b; ++i) {
        c.LabelP->setCaption(c.LabelP->caption() + row);
        m_form.platform.doEvents();
        if (!state.QuizMode)
            m_form.platform.sleep(pauseUnits(state.DelayFactor, RowUnits));
        if (state.StopRequested)
            return;
    }
    if (!state.QuizMode) {
        m_form.platform.sleep(pauseUnits(state.DelayFactor, GridShownUnits));
        for (int level = 240; level >= GridRestingGrey; level -= 16) {
            c.LabelP->setForeColor(grey(level));
            m_form.platform.doEvents();
            m_form.platform.sleep(pauseUnits(state.DelayFactor, DimUnits));
            if (state.StopRequested)
                return;
        }
    }
    c.LabelP->setForeColor(grey(GridRestingGrey));
}

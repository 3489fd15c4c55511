// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "DigitPad.h"

#include "FormControls.h"
#include "FormState.h"
#include "Label.h"
#include "Platform.h"

namespace {

bool isKeypadDigit(std::int16_t keyCode)
{
    return keyCode >= KeypadZero && keyCode <= KeypadNine;
}

}

void DigitPad::Form_KeyDown(std::int16_t KeyCode)
{
    if (!isKeypadDigit(KeyCode))
        return;
    m_form.controls.LabelDigit.at(KeyCode - KeypadZero)->setBackColor(Colours::Highlight);
    m_form.platform.doEvents();
}

void DigitPad::Form_KeyUp(std::int16_t KeyCode)
{
    if (!isKeypadDigit(KeyCode))
        return;
    m_form.controls.LabelDigit.at(KeyCode - KeypadZero)->setBackColor(Colours::Black);
    m_form.platform.doEvents();
    m_form.state.LastKey = KeyCode;
}

void DigitPad::LabelDigit_MouseDown(std::int16_t Index)
{
    m_form.controls.LabelDigit.at(Index)->setBackColor(Colours::Highlight);
    m_form.platform.doEvents();
}

void DigitPad::LabelDigit_MouseUp(std::int16_t Index)
{
    m_form.controls.LabelDigit.at(Index)->setBackColor(Colours::Black);
    m_form.platform.doEvents();
}

void DigitPad::LabelDigit_Click(std::int16_t Index)
{
    m_form.state.LastKey = static_cast<std::int16_t>(Index + KeypadZero);
}

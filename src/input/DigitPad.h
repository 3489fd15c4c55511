// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FormContext.h"

#include <cstdint>

// The digit pad and the numeric keypad: a digit's label is blue while its key or button is held
// and black again on release; a released keypad key or a click on a label leaves the digit in
// LastKey as 96 + digit, where the answer wait picks it up.
class DigitPad {
public:
    explicit DigitPad(FormContext form)
        : m_form(form)
    {
    }

    void Form_KeyDown(std::int16_t KeyCode);
    void Form_KeyUp(std::int16_t KeyCode);
    void LabelDigit_MouseDown(std::int16_t Index);
    void LabelDigit_MouseUp(std::int16_t Index);
    void LabelDigit_Click(std::int16_t Index);

private:
    FormContext m_form;
};

// Key codes of the numeric keypad's digits: 96 for keypad 0 up to 105 for keypad 9.
constexpr std::int16_t KeypadZero = 96;
constexpr std::int16_t KeypadNine = 105;

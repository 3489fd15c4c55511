// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FormContext.h"

#include <cstdint>

// One multiplication from start to end: the factors and the sign fade in, sized by their value;
// the dot grid is drawn; in quiz mode "?" stands for the product while the child answers, and a
// wrong or late answer is met with "NO!" or "Tempo!"; the product fades in, the question fades
// out, blinks unless a quiz answer was right, and a closing pause ends it.
class QuestionSequence {
public:
    explicit QuestionSequence(FormContext form)
        : m_form(form)
    {
    }

    // correct is false only for a quiz answer judged wrong; a stop before the answer was judged
    // leaves it true.
    void PresentQuestion(std::int32_t a, std::int32_t b, bool &correct);

private:
    FormContext m_form;
};

// Font sizes in points for a question, from the layout's font unit.
double factorFontSize(std::int32_t fontUnit, std::int32_t factor);
double productFontSize(std::int32_t fontUnit, std::int32_t a, std::int32_t b);

// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FormContext.h"

#include <QString>
#include <cstdint>

class Label;

// The animations of the question labels: a label fades in from dark to white, the five fade out
// together, the question blinks, and the product is pictured as a grid of dots. Every step writes
// its colours, pumps once so that it shows, then pauses; after the pause a stop request ends the
// animation and leaves the labels as they are.
class Animations {
public:
    explicit Animations(FormContext form)
        : m_form(form)
    {
    }

    void FadeIn(Label &label, const QString &text, std::int32_t step);
    void FadeOut();
    void Blink();
    void DrawDotGrid(std::int32_t a, std::int32_t b);

private:
    FormContext m_form;
};

// The grid rests at this grey once drawn; fading and blinking never light it brighter.
constexpr int GridRestingGrey = 64;

// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <array>

class Frame;
class Label;

// The controls of the window, by their design names. Created from the design table by
// createControls(); the window owns them through Qt's parent chain.
struct FormControls {
    Frame *FrameLevel = nullptr;
    Frame *FrameNum = nullptr;
    std::array<Label *, 6> LabelLevel {};
    Label *LabelHint = nullptr;
    std::array<Label *, 10> LabelDigit {};
    Label *LabelStop = nullptr;
    Label *LabelM = nullptr;
    Label *LabelR = nullptr;
    Label *LabelG = nullptr;
    Label *Label2 = nullptr;
    Label *LabelX = nullptr;
    Label *Label1 = nullptr;
    Label *LabelP = nullptr;

    // The five labels that show a question, in the order in which they are written.
    std::array<Label *, 5> questionLabels() const
    {
        return { Label1, LabelX, Label2, LabelP, LabelR };
    }
};

// Builds every control of the design table inside window, with its design values and stacking.
FormControls createControls(QWidget *window);

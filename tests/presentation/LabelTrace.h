// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FakePlatform.h"
#include "FormControls.h"
#include "Frame.h"
#include "Label.h"
#include "Rgb.h"

#include <QList>
#include <QString>
#include <array>
#include <vector>

// What the window shows of a question at each pump, that is at each moment a step becomes
// visible: the five question labels (first factor, sign, second factor, grid, product), the
// message and the digit pad, with the virtual time and the number of pauses taken before it.
struct Shown {
    std::array<Rgb, 5> colours;
    std::array<QString, 5> captions;
    std::array<double, 5> points;
    bool productVisible;
    bool messageVisible;
    QString message;
    bool padVisible;
    FakePlatform::Ms at;
    std::size_t pausesBefore;
};

// The grey level of a colour, or -1 when it is not a grey.
inline int greyLevel(Rgb colour)
{
    const int level = redOf(colour);
    return greenOf(colour) == level && blueOf(colour) == level ? level : -1;
}

class LabelTrace {
public:
    enum Index { First, Sign, Second, Grid, Product };

    LabelTrace(FakePlatform &platform, const FormControls &controls)
        : m_controls(controls)
    {
        platform.afterPump = [this, &platform] {
            Shown shown {};
            const auto labels = m_controls.questionLabels();
            for (std::size_t i = 0; i < labels.size(); ++i) {
                shown.colours[i] = labels[i]->foreColor();
                shown.captions[i] = labels[i]->caption();
                shown.points[i] = labels[i]->fontSize();
            }
            shown.productVisible
                = m_controls.LabelR->isVisibleTo(m_controls.LabelR->parentWidget());
            shown.messageVisible
                = m_controls.LabelM->isVisibleTo(m_controls.LabelM->parentWidget());
            shown.message = m_controls.LabelM->caption();
            shown.padVisible
                = m_controls.FrameNum->isVisibleTo(m_controls.FrameNum->parentWidget());
            shown.at = platform.now;
            shown.pausesBefore = platform.sleeps.size();
            frames.push_back(shown);
        };
    }

    // The grey of one label at every pump.
    QList<int> greys(Index label) const
    {
        QList<int> result;
        for (const Shown &shown : frames)
            result.append(greyLevel(shown.colours[label]));
        return result;
    }

    // True when the label turned black and later lit up white again. For the first factor, the
    // first label a question lights, that means the question blinked.
    bool litAgainAfterDark(Index label) const
    {
        bool dark = false;
        for (const Shown &shown : frames) {
            if (shown.colours[label] == Colours::Black)
                dark = true;
            else if (dark && shown.colours[label] == Colours::White)
                return true;
        }
        return false;
    }

    std::vector<Shown> frames;

private:
    const FormControls &m_controls;
};

// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FormControls.h"

#include "FormDesign.h"
#include "Frame.h"
#include "Label.h"

namespace {

using FormDesign::Control;
using FormDesign::ControlDesign;

Frame *makeFrame(QWidget *window, const ControlDesign &design)
{
    auto *frame = new Frame(window);
    frame->setObjectName(QString::fromLatin1(design.name));
    frame->setBackColor(design.back);
    frame->setGeometryTwips(design.left, design.top, design.width, design.height);
    return frame;
}

Label *makeLabel(QWidget *parent, const ControlDesign &design)
{
    auto *label = new Label(parent, design.index, design.access);
    label->setObjectName(QString::fromLatin1(design.name));
    label->setTransparent(design.flags & FormDesign::Transparent);
    label->setBorder(design.flags & FormDesign::Border);
    label->setCentred(design.flags & FormDesign::Centred);
    label->setBackColor(design.back);
    label->setForeColor(design.fore);
    label->setBold(design.flags & FormDesign::Bold);
    label->setFontSize(design.points);
    label->setCaption(QString::fromUtf8(design.caption));
    label->setClicksRepeat(design.control == Control::LabelDigit);
    label->setGeometryTwips(design.left, design.top, design.width, design.height);
    return label;
}

Label **slotFor(FormControls &controls, Control control, int index)
{
    switch (control) {
    case Control::LabelLevel:
        return &controls.LabelLevel.at(index);
    case Control::LabelDigit:
        return &controls.LabelDigit.at(index);
    case Control::LabelHint:
        return &controls.LabelHint;
    case Control::LabelStop:
        return &controls.LabelStop;
    case Control::LabelM:
        return &controls.LabelM;
    case Control::LabelR:
        return &controls.LabelR;
    case Control::LabelG:
        return &controls.LabelG;
    case Control::Label2:
        return &controls.Label2;
    case Control::LabelX:
        return &controls.LabelX;
    case Control::Label1:
        return &controls.Label1;
    case Control::LabelP:
        return &controls.LabelP;
    case Control::FrameLevel:
    case Control::FrameNum:
        break;
    }
    return nullptr;
}

}

FormControls createControls(QWidget *window)
{
    FormControls controls;
    for (const ControlDesign &design : FormDesign::Controls) {
        QWidget *created = nullptr;
        if (design.control == Control::FrameLevel)
            created = controls.FrameLevel = makeFrame(window, design);
        else if (design.control == Control::FrameNum)
            created = controls.FrameNum = makeFrame(window, design);
        else {
            QWidget *parent = design.parent == FormDesign::Parent::FrameLevel ? controls.FrameLevel
                : design.parent == FormDesign::Parent::FrameNum               ? controls.FrameNum
                                                                              : window;
            created = *slotFor(controls, design.control, design.index) = makeLabel(parent, design);
        }
        // The rows run front to back: each new child of the window goes behind those before it.
        if (design.parent == FormDesign::Parent::Window)
            created->lower();
        created->setVisible(!(design.flags & FormDesign::Hidden));
    }
    return controls;
}

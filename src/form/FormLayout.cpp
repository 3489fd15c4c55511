// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FormLayout.h"

#include "FormControls.h"
#include "FormDesign.h"
#include "Frame.h"
#include "Label.h"
#include "Twips.h"

#include <algorithm>
#include <cmath>

std::int32_t roundHalfEven(double value)
{
    // nearbyint follows the rounding mode, which nothing in the program changes from the
    // default of nearest, ties to even.
    return static_cast<std::int32_t>(std::nearbyint(value));
}

std::int32_t layOutForm(const FormControls &c, double width, double height)
{
    // The toolkit works in single precision: what is read and written passes through float.
    const auto read = [](double value) { return static_cast<double>(static_cast<float>(value)); };
    const double W = read(width);
    const double H = read(height);

    const std::int32_t w = roundHalfEven(W / 3);
    const std::int32_t h = roundHalfEven(H / 3);
    const std::int32_t fontUnit = roundHalfEven(h / 25.0);
    // A window shorter than about 24 pixels would need a negative height; clamp it at zero.
    const double bandHeight = std::max<std::int32_t>(0, 2 * h - 240);

    c.Label1->setGeometryTwips(w / 4.0, c.Label1->topTwips(), w - w / 4.0, h);
    c.LabelX->setGeometryTwips(w, c.LabelX->topTwips(), w, h);
    c.LabelX->setFontSize(static_cast<float>(fontUnit));
    c.Label2->setGeometryTwips(2 * w, c.Label2->topTwips(), w - w / 4.0, h);

    c.LabelP->setGeometryTwips(c.LabelP->leftTwips(), h, 3 * w, bandHeight);
    c.LabelP->setFontSize(static_cast<float>(fontUnit / 5.0));
    c.LabelR->setGeometryTwips(
        c.LabelR->leftTwips(), static_cast<float>(h - h / 4.0), 3 * w, bandHeight);
    c.LabelR->setFontSize(static_cast<float>(3 * fontUnit / 2.0));
    c.LabelM->setGeometryTwips(
        c.LabelM->leftTwips(), read(c.LabelP->topTwips() + 100), 3 * w, c.LabelM->heightTwips());

    c.LabelG->setTopTwips(read(H - c.LabelG->heightTwips()));
    c.FrameLevel->setTopTwips(read((H - c.FrameLevel->heightTwips()) / 2));
    c.FrameLevel->setLeftTwips(read((W - c.FrameLevel->widthTwips()) / 2));
    c.FrameNum->setTopTwips(read(H - c.FrameNum->heightTwips()));
    c.FrameNum->setLeftTwips(read(W - c.FrameNum->widthTwips()));
    c.LabelStop->setTopTwips(read(H - c.LabelStop->heightTwips()));
    c.LabelStop->setLeftTwips(read(W - c.LabelStop->widthTwips()));

    c.FrameLevel->setVisible(true);
    return fontUnit;
}

PageFit fitToPage(QSize page)
{
    const double designWidth = FormDesign::DesignWidth / TwipsPerPixel;
    const double designHeight = FormDesign::DesignHeight / TwipsPerPixel;
    const double fit = std::min(page.width() / designWidth, page.height() / designHeight);
    if (!(fit > 0))
        return { QRect(QPoint(), page.expandedTo(QSize(0, 0))), 1.0 };
    const QSize size(std::min(page.width(), int(std::lround(designWidth * fit))),
        std::min(page.height(), int(std::lround(designHeight * fit))));
    const QPoint corner((page.width() - size.width()) / 2, (page.height() - size.height()) / 2);
    return { QRect(corner, size), std::min(1.0, fit) };
}

void clearDisplay(const FormControls &controls)
{
    const auto labels = controls.questionLabels();
    for (Label *label : labels)
        label->setCaption(QString());
    for (Label *label : labels)
        label->setForeColor(Colours::Black);
}

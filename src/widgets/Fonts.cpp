// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Fonts.h"

#include "Host.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace Fonts {

bool registerTahoma()
{
    for (const QString &folder : Host::fontFolders()) {
        const QString regular = folder + QStringLiteral("/tahoma.ttf");
        if (!QFile::exists(regular))
            continue;
        QFontDatabase::addApplicationFont(regular);
        QFontDatabase::addApplicationFont(folder + QStringLiteral("/tahomabd.ttf"));
        break;
    }
    // A family can be listed and still not load (a font that Windows lists but whose file its
    // registry does not name): what counts is the font a label gets.
    return QFontInfo(labelFont(12, false)).family() == QLatin1String("Tahoma");
}

QFont labelFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies(QStringList { QStringLiteral("Tahoma") } + Host::sansSerifFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

}

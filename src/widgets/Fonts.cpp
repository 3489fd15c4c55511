// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Fonts.h"

#include "Host.h"

#include <QFile>
#include <QFontDatabase>
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
    return QFontDatabase::hasFamily(QStringLiteral("Tahoma"));
}

QFont labelFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

}

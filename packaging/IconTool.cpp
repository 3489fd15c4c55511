// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the program's icon, at 32 × 32 pixels times a whole factor, to a PNG file. The build
// runs it for every size the desktop icon theme gets, so the installed icons are the very image
// the window shows. For Windows it writes them all into one icon file, with a 16 × 16 one made
// from the 32 × 32 for the small views.
#include "Icon.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QList>
#include <QString>
#include <QtEndian>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

constexpr int LargestFactor = 16; // 512 × 512, the largest size icon themes use

int usageError()
{
    std::fputs("Usage: corvallo-icon FACTOR FILE.png\n"
                "       corvallo-icon --ico FILE.ico\n"
                "Writes the 32 x 32 icon scaled by the whole FACTOR (1 to 16) to FILE.png, or the\n"
                "icon at 16, 32, 64, 128 and 256 pixels to the Windows icon file FILE.ico.\n",
        stderr);
    return 2;
}

// A Windows icon file: a directory of the images, each stored as PNG, which Windows reads since
// Vista.
QByteArray iconFile()
{
    QList<QImage> images { corvalloIcon(1).scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation) };
    for (const int factor : { 1, 2, 4, 8 })
        images.append(corvalloIcon(factor));

    QByteArray directory;
    QByteArray data;
    const auto put16 = [&directory](quint16 value) {
        directory.append(reinterpret_cast<const char *>(&value), 2);
    };
    const auto put32 = [&directory](quint32 value) {
        directory.append(reinterpret_cast<const char *>(&value), 4);
    };
    put16(qToLittleEndian<quint16>(0));
    put16(qToLittleEndian<quint16>(1)); // an icon, not a cursor
    put16(qToLittleEndian<quint16>(quint16(images.size())));
    const int headerSize = 6 + 16 * int(images.size());
    for (const QImage &image : std::as_const(images)) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        const auto side = static_cast<char>(image.width() >= 256 ? 0 : image.width()); // 0 is 256
        directory.append(side).append(side).append('\0').append('\0');
        put16(qToLittleEndian<quint16>(1)); // colour planes
        put16(qToLittleEndian<quint16>(32)); // bits per pixel
        put32(qToLittleEndian<quint32>(quint32(png.size())));
        put32(qToLittleEndian<quint32>(quint32(headerSize + data.size())));
        data.append(png);
    }
    return directory + data;
}

int writeIconFile(const char *name)
{
    QFile file(QString::fromLocal8Bit(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(iconFile()) < 0 || !file.flush()) {
        std::fprintf(stderr, "corvallo-icon: cannot write %s\n", name);
        return 1;
    }
    return 0;
}

}

int main(int argc, char *argv[])
{
    if (argc != 3)
        return usageError();
    if (std::string_view(argv[1]) == "--ico")
        return writeIconFile(argv[2]);
    char *end = nullptr;
    const long factor = std::strtol(argv[1], &end, 10);
    if (end == argv[1] || *end != '\0' || factor < 1 || factor > LargestFactor)
        return usageError();

    const QImage icon = corvalloIcon(static_cast<int>(factor));
    if (!icon.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "corvallo-icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

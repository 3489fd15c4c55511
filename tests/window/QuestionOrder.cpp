// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "QtPlatform.h"
#include "QuestionPool.h"

#include <QCoreApplication>
#include <cstdio>

// Prints the questions of a run's first random lesson in the order the lesson asks them, one
// "a b" a line, drawn with the program's own generator and pool: with CORVALLO_SEED set, a test
// can then answer a lesson played in the real window.
int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QtPlatform platform;
    QuestionPool pool;
    FillPool(pool, { [&] { platform.reseed(); }, [&] { return platform.nextRandom(); } });
    for (int position = pool.count(); position >= 1; --position)
        std::printf("%d %d\n", pool.item(position) / 10, pool.item(position) % 10);
    return 0;
}

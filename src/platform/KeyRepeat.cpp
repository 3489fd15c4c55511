// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "KeyRepeat.h"

#include <QGuiApplication>

#if QT_CONFIG(xcb)
#include <X11/XKBlib.h>
#endif

void makeKeyRepeatDetectable()
{
#if QT_CONFIG(xcb)
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->display())
        return;
    Bool supported = False;
    XkbSetDetectableAutoRepeat(x11->display(), True, &supported);
    XFlush(x11->display());
#endif
}

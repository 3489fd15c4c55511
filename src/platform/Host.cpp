// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Host.h"

#include <QGuiApplication>

namespace Host {

NativeKeys nativeKeys()
{
    return QGuiApplication::platformName() == QLatin1String("windows") ? NativeKeys::Windows
                                                                       : NativeKeys::XKeysyms;
}

}

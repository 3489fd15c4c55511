// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Host.h"

#include <QGuiApplication>

namespace Host {

NativeKeys nativeKeys()
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("windows"))
        return NativeKeys::Windows;
    if (platform == QLatin1String("wasm"))
        return NativeKeys::None;
    return NativeKeys::XKeysyms;
}

}

// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Qt Widgets registers its style's standard icons as the application starts. The window shows none
// of them (its labels and frames are drawn without images, and a message box is Windows' own), so
// they are left out of the program, and registering them does nothing.
int qInitResources_qstyle();
int qCleanupResources_qstyle();

int qInitResources_qstyle()
{
    return 1;
}

int qCleanupResources_qstyle()
{
    return 1;
}

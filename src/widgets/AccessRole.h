// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a screen reader is told a label is: a button whose press does what a click does, a text
// that reads its caption, or a picture with nothing to read (the dot grid's rows of O say nothing
// that the factors and the product do not).
enum class AccessRole { Button, Text, Picture };

// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

struct FormControls;
struct FormState;
class Platform;

// What a procedure of the window works on: its controls, the form-level variables and the
// platform through which it pumps, pauses and draws random numbers.
struct FormContext {
    const FormControls &controls;
    FormState &state;
    Platform &platform;
};

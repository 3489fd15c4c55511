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

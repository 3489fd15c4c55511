// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "AccessRole.h"
#include "Rgb.h"

#include <chrono>

// The window as designed: every control with its caption, place, size, colours, font, flags and
// what a screen reader is told it is. Lengths are twips, font sizes points; Left and Top of a
// control in a frame are relative to it. The rows stand in stacking order, front to back, each
// frame followed by what it holds.
namespace FormDesign {

using namespace std::chrono_literals;
using enum AccessRole;

enum class Control {
    FrameLevel,
    FrameNum,
    LabelLevel,
    LabelHint,
    LabelDigit,
    LabelStop,
    LabelM,
    LabelR,
    LabelG,
    Label2,
    LabelX,
    Label1,
    LabelP,
};

enum class Parent { Window, FrameLevel, FrameNum };

enum Flag : unsigned {
    Border = 1u << 0,
    Centred = 1u << 1,
    Transparent = 1u << 2,
    Hidden = 1u << 3,
    Bold = 1u << 4,
};

struct ControlDesign {
    const char *name;
    Control control;
    int index; // element of a control array, -1 for a single control
    Parent parent;
    const char *caption; // UTF-8
    double left, top, width, height;
    Rgb back;
    Rgb fore;
    double points; // 0 for a frame
    unsigned flags;
    AccessRole access; // Text for a frame, which is never asked
};

constexpr const char *Title = "Corvallo";
constexpr double DesignWidth = 10965; // of the drawing area
constexpr double DesignHeight = 8160;
constexpr auto TimerInterval = 1000ms;

constexpr Rgb Lavender = rgb(192, 192, 255);
constexpr Rgb LightBlue = rgb(128, 128, 255);
constexpr Rgb Black = Colours::Black;

// clang-format off
inline constexpr ControlDesign Controls[] = {
    { "FrameLevel",    Control::FrameLevel, -1, Parent::Window,     "",          3450, 1125, 4215, 5940, Black, Black, 0, Hidden, Text },
    { "LabelLevel(0)", Control::LabelLevel,  0, Parent::FrameLevel, "Basta!",     750, 5100, 2745,  735, Black, Lavender, 26.25, Border | Centred, Button },
    { "LabelLevel(1)", Control::LabelLevel,  1, Parent::FrameLevel, "Livello 1",  150,  225, 3945,  810, Black, rgb(192, 255, 192), 26.25, Border | Centred, Button },
    { "LabelLevel(2)", Control::LabelLevel,  2, Parent::FrameLevel, "Livello 2",  150, 1125, 3945,  810, Black, rgb(128, 255, 128), 26.25, Border | Centred, Button },
    { "LabelLevel(3)", Control::LabelLevel,  3, Parent::FrameLevel, "Livello 3",  150, 2025, 3945,  810, Black, rgb(0, 255, 0), 26.25, Border | Centred, Button },
    { "LabelLevel(4)", Control::LabelLevel,  4, Parent::FrameLevel, "Livello 4",  150, 2925, 3945,  810, Black, rgb(255, 255, 0), 26.25, Border | Centred, Button },
    { "LabelLevel(5)", Control::LabelLevel,  5, Parent::FrameLevel, "Livello 5",  150, 3825, 3945,  810, Black, rgb(255, 0, 0), 26.25, Border | Centred, Button },
    { "FrameNum",      Control::FrameNum,   -1, Parent::Window,     "",          6360, 2295, 4500, 5820, Black, Black, 0, Hidden, Text },
    { "LabelHint",     Control::LabelHint,  -1, Parent::FrameNum,   "Clicca o Digita il Risultato", 150, 150, 4245, 285, Black, rgb(192, 0, 192), 9, Centred, Text },
    { "LabelDigit(7)", Control::LabelDigit,  7, Parent::FrameNum,   "7",          120,  465, 1395, 1260, Black, LightBlue, 48, Border | Centred, Button },
    { "LabelDigit(8)", Control::LabelDigit,  8, Parent::FrameNum,   "8",         1560,  465, 1395, 1260, Black, LightBlue, 48, Border | Centred, Button },
    { "LabelDigit(9)", Control::LabelDigit,  9, Parent::FrameNum,   "9",         3000,  465, 1395, 1260, Black, LightBlue, 48, Border | Centred, Button },
    { "LabelDigit(4)", Control::LabelDigit,  4, Parent::FrameNum,   "4",          120, 1785, 1395, 1260, Black, LightBlue, 48, Border | Centred, Button },
    { "LabelDigit(5)", Control::LabelDigit,  5, Parent::FrameNum,   "5",         1560, 1785, 1395, 1260, Black, LightBlue, 48, Border | Centred, Button },
    { "LabelDigit(6)", Control::LabelDigit,  6, Parent::FrameNum,   "6",         3000, 1785, 1395, 1260, Black, LightBlue, 48, Border | Centred, Button },
    { "LabelDigit(1)", Control::LabelDigit,  1, Parent::FrameNum,   "1",          120, 3105, 1395, 1260, Black, LightBlue, 48, Border | Centred, Button },
    { "LabelDigit(2)", Control::LabelDigit,  2, Parent::FrameNum,   "2",         1560, 3105, 1395, 1260, Black, LightBlue, 48, Border | Centred, Button },
    { "LabelDigit(3)", Control::LabelDigit,  3, Parent::FrameNum,   "3",         3000, 3105, 1395, 1260, Black, LightBlue, 48, Border | Centred, Button },
    { "LabelDigit(0)", Control::LabelDigit,  0, Parent::FrameNum,   "0",          120, 4425, 2835, 1260, Black, LightBlue, 48, Border | Centred, Button },
    { "LabelStop",     Control::LabelStop,  -1, Parent::Window,     "Stop",     10050, 7875,  945,  285, Black, rgb(255, 0, 0), 8.25, Border | Centred | Bold, Button },
    { "LabelM",        Control::LabelM,     -1, Parent::Window,     "NO!",          0, 2925, 10890, 3165, Black, rgb(255, 0, 0), 99.75, Centred | Transparent | Hidden, Text },
    { "LabelR",        Control::LabelR,     -1, Parent::Window,     "42",           0, 2925, 10890, 4965, Black, rgb(255, 255, 255), 200.25, Centred | Transparent, Text },
    { "LabelG",        Control::LabelG,     -1, Parent::Window,     "Giusti: 0                  Sbagliati: 0", 75, 7875, 10365, 240, Black, rgb(0, 128, 0), 9, Transparent, Text },
    { "Label2",        Control::Label2,     -1, Parent::Window,     "7",         7050,    0, 3915, 2940, Black, rgb(255, 255, 255), 120, Centred, Text },
    { "LabelX",        Control::LabelX,     -1, Parent::Window,     "x",         3900,    0, 3165, 2940, Black, rgb(255, 255, 255), 120, Centred, Text },
    { "Label1",        Control::Label1,     -1, Parent::Window,     "6",            0,    0, 3915, 2940, Black, rgb(255, 255, 255), 120, Centred, Text },
    { "LabelP",        Control::LabelP,     -1, Parent::Window,     "\u00B0\u00B0\u00B0\u00B0\u00B0\u00B0", 0, 2925, 10890, 5115, Black, rgb(128, 128, 128), 99.75, Centred, Picture },
};
// clang-format on

}

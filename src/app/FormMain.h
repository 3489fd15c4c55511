// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FormControls.h"
#include "FormState.h"
#include "QuestionPool.h"

#include <QWidget>
#include <cstdint>
#include <optional>

class Platform;

// The one window: its controls, the form-level variables and every handler. Qt's events are only
// translated here into the handlers; lessons run inside the start timer's tick and pump through
// the platform, so clicks and keys run nested in them and talk through the form-level variables.
class FormMain final : public QWidget {
    Q_OBJECT

public:
    explicit FormMain(Platform &platform, QWidget *parent = nullptr);
    ~FormMain() override;

    void Form_Load(std::optional<std::int16_t> commandLevel);
    void Form_Resize();
    void LabelLevel_Click(std::int16_t Index);
    void LabelStop_Click();
    void Timer_Timer();
    void Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift);
    void Form_KeyUp(std::int16_t KeyCode, std::int16_t Shift);
    void LabelDigit_MouseDown(std::int16_t Index);
    void LabelDigit_MouseUp(std::int16_t Index);
    void LabelDigit_Click(std::int16_t Index);
    void ClearDisplay();

    const FormControls &controls() const { return m_controls; }
    FormState &state() { return m_state; }
    QuestionPool &pool() { return m_pool; }
    Platform &platform() { return m_platform; }
    // True once the window has been unloaded: by "Basta!", by "Stop" outside a lesson, or closed.
    bool isUnloaded() const { return m_unloaded; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void connectControls();
    void unload();

    Platform &m_platform;
    FormState m_state;
    QuestionPool m_pool;
    FormControls m_controls;
    bool m_unloaded = false;
    bool m_inTick = false;
    std::optional<std::int16_t> m_pendingLevel;
};

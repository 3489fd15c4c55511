// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FormMain.h"

#include "DesignScale.h"
#include "DigitPad.h"
#include "FormDesign.h"
#include "FormLayout.h"
#include "Frame.h"
#include "Icon.h"
#include "KeypadKeys.h"
#include "Label.h"
#include "LessonDriver.h"
#include "Pace.h"
#include "Platform.h"
#include "StatusText.h"
#include "Twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QPixmap>

FormMain::FormMain(Platform &platform, QWidget *parent)
    : QWidget(parent)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QString::fromLatin1(FormDesign::Title));
    setWindowIcon(QIcon(QPixmap::fromImage(corvalloIcon())));
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    m_controls = createControls(this);
    resize(twipsToPixels(FormDesign::DesignWidth), twipsToPixels(FormDesign::DesignHeight));
    connectControls();
    m_platform.setTimerInterval(FormDesign::TimerInterval);
    m_platform.setTimerEnabled(false);
    m_platform.setTimerHandler([this] { Timer_Timer(); });
}

FormMain::~FormMain()
{
    m_platform.setTimerEnabled(false);
    m_platform.setTimerHandler({});
}

void FormMain::connectControls()
{
    for (Label *label : m_controls.LabelLevel) {
        const auto index = static_cast<std::int16_t>(label->index());
        connect(label, &Label::clicked, this, [this, index] { LabelLevel_Click(index); });
    }
    for (Label *label : m_controls.LabelDigit) {
        const auto index = static_cast<std::int16_t>(label->index());
        connect(label, &Label::mouseDown, this, [this, index] { LabelDigit_MouseDown(index); });
        connect(label, &Label::mouseUp, this, [this, index] { LabelDigit_MouseUp(index); });
        connect(label, &Label::clicked, this, [this, index] { LabelDigit_Click(index); });
    }
    connect(m_controls.LabelStop, &Label::clicked, this, &FormMain::LabelStop_Click);
}

void FormMain::Form_Load(std::optional<std::int16_t> commandLevel)
{
    m_pool.clear();
    m_state.DelayFactor = Pace::StartUp;
    ClearDisplay();
    m_controls.LabelStop->setVisible(false);
    m_controls.LabelG->setVisible(false);
    if (!commandLevel)
        return;
    m_state.Level = *commandLevel;
    LabelLevel_Click(m_state.Level);
}

void FormMain::Form_Resize()
{
    const double scale = designScale(*this);
    m_state.FontUnit
        = layOutForm(m_controls, pixelsToTwips(width(), scale), pixelsToTwips(height(), scale));
}

void FormMain::ClearDisplay()
{
    clearDisplay(m_controls);
}

void FormMain::LabelLevel_Click(std::int16_t Index)
{
    m_controls.FrameLevel->setVisible(false);
    if (Index == 0) {
        unload();
        return;
    }
    // A level chosen while a lesson runs (a resize shows the menu over it) stops that lesson
    // first; the new one is armed once the old one has returned. Lessons never nest.
    if (m_inTick) {
        m_pendingLevel = Index;
        m_state.StopRequested = true;
        return;
    }
    m_state.Level = Index;
    m_state.QuizMode = Index > 3;
    m_controls.LabelStop->setVisible(false);
    m_controls.LabelG->setVisible(false);
    m_state.RightCount = m_state.WrongCount = m_state.Score = 0;
    m_controls.LabelG->setCaption(statusText(m_pool.count(), 0, 0, 0));
    m_state.Running = false;
    m_state.StopRequested = false;
    m_platform.setTimerEnabled(true);
}

void FormMain::LabelStop_Click()
{
    if (!m_state.Running) {
        unload();
        return;
    }
    // "Stop" wins over a level chosen while the lesson was still returning: the menu comes back.
    m_state.StopRequested = true;
    m_pendingLevel.reset();
}

void FormMain::Timer_Timer()
{
    m_platform.setTimerEnabled(false);
    if (m_inTick || m_unloaded)
        return;
    m_inTick = true;
    m_state.Running = true;
    m_controls.LabelStop->setVisible(true);
    m_controls.LabelG->setVisible(m_state.QuizMode);
    try {
        LessonDriver(FormContext { m_controls, m_state, m_platform }, m_pool).run();
    } catch (const std::exception &) {
        // A fault ends the lesson like a stop: the menu always comes back.
    }
    m_state.Running = false;
    m_controls.FrameLevel->setVisible(true);
    ClearDisplay();
    // The digit pad and a message are shown only while a question needs them.
    m_controls.FrameNum->setVisible(false);
    m_controls.LabelM->setVisible(false);
    m_controls.LabelR->setVisible(true);
    m_inTick = false;

    if (m_unloaded) {
        QCoreApplication::quit();
        return;
    }
    if (const auto level = std::exchange(m_pendingLevel, std::nullopt))
        LabelLevel_Click(*level);
}

void FormMain::Form_KeyDown(std::int16_t KeyCode, std::int16_t)
{
    DigitPad({ m_controls, m_state, m_platform }).Form_KeyDown(KeyCode);
}

void FormMain::Form_KeyUp(std::int16_t KeyCode, std::int16_t)
{
    DigitPad({ m_controls, m_state, m_platform }).Form_KeyUp(KeyCode);
}

void FormMain::LabelDigit_MouseDown(std::int16_t Index)
{
    DigitPad({ m_controls, m_state, m_platform }).LabelDigit_MouseDown(Index);
}

void FormMain::LabelDigit_MouseUp(std::int16_t Index)
{
    DigitPad({ m_controls, m_state, m_platform }).LabelDigit_MouseUp(Index);
}

void FormMain::LabelDigit_Click(std::int16_t Index)
{
    DigitPad({ m_controls, m_state, m_platform }).LabelDigit_Click(Index);
}

// In a page (PageWindow) the form is not a window of its own: the page closes with it.
void FormMain::unload()
{
    m_unloaded = true;
    close();
    if (window() != this)
        window()->close();
}

void FormMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void FormMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // With no window manager to give it the focus, the window takes it, so keys reach it at once.
    raise();
    activateWindow();
}

void FormMain::closeEvent(QCloseEvent *event)
{
    // A lesson running underneath sees the stop at its next check and returns; the program ends
    // when it is back in the event loop.
    m_unloaded = true;
    m_state.StopRequested = true;
    m_platform.setTimerEnabled(false);
    event->accept();
}

namespace {

std::int16_t shiftState(Qt::KeyboardModifiers modifiers)
{
    return static_cast<std::int16_t>((modifiers & Qt::ShiftModifier ? 1 : 0)
        | (modifiers & Qt::ControlModifier ? 2 : 0) | (modifiers & Qt::AltModifier ? 4 : 0));
}

}

// A held key repeats as release/press pairs marked auto-repeat: only the first press and the real
// release count, so a held key lights its label and delivers exactly one digit.
void FormMain::keyPressEvent(QKeyEvent *event)
{
    const auto code = keypadKeyCode(*event);
    if (!code) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat())
        Form_KeyDown(*code, shiftState(event->modifiers()));
}

void FormMain::keyReleaseEvent(QKeyEvent *event)
{
    const auto code = keypadKeyCode(*event);
    if (!code) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    if (!event->isAutoRepeat())
        Form_KeyUp(*code, shiftState(event->modifiers()));
}

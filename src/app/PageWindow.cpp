// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PageWindow.h"

#include "DesignScale.h"
#include "FormLayout.h"

#include <QCloseEvent>

PageWindow::PageWindow()
{
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
}

void PageWindow::hold(QWidget &form)
{
    m_form = &form;
    setWindowTitle(form.windowTitle());
    fit();
}

void PageWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fit();
}

// The scale first, then the size: the form's layout pass, which the new size runs, reads both.
void PageWindow::fit()
{
    if (!m_form)
        return;
    const PageFit fit = fitToPage(size());
    setDesignScale(*m_form, fit.scale);
    m_form->setGeometry(fit.window);
}

void PageWindow::closeEvent(QCloseEvent *event)
{
    if (m_form && !m_form->isHidden())
        m_form->close();
    QWidget::closeEvent(event);
}

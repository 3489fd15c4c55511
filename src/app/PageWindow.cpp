// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PageWindow.h"

#include "DesignScale.h"
#include "FormLayout.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QResizeEvent>

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

// The scale first, then the size: the form's layout pass, which the new size runs, reads both. A
// new scale at the same size in pixels (a page a pixel taller or wider) still lays it out anew.
void PageWindow::fit()
{
    if (!m_form)
        return;
    const PageFit fit = fitToPage(size());
    const bool rescaled = designScale(*m_form) != fit.scale;
    setDesignScale(*m_form, fit.scale);
    if (rescaled && m_form->size() == fit.window.size()) {
        QResizeEvent same(fit.window.size(), fit.window.size());
        QCoreApplication::sendEvent(m_form, &same);
    }
    m_form->setGeometry(fit.window);
}

void PageWindow::closeEvent(QCloseEvent *event)
{
    if (m_form && !m_form->isHidden())
        m_form->close();
    QWidget::closeEvent(event);
}

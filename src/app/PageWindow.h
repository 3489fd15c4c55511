// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPointer>
#include <QWidget>

// A window that fills a page of any shape, as a browser's page: black, with the form at the
// design's proportions in the middle, drawn smaller where the page is smaller than the design
// (fitToPage()). It closes the form when it closes itself.
class PageWindow final : public QWidget {
public:
    PageWindow();

    // The form it shows, made with this window as its parent.
    void hold(QWidget &form);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void fit();

    QPointer<QWidget> m_form;
};

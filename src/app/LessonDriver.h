// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FormContext.h"

class QuestionPool;

// Runs the questions of one lesson: the tables in order at levels 1 and 2, the 64 products from
// the pool in random order at the others, passes repeated in quiz mode until every answer was
// right. Returns when the questions are done or a stop was requested; the caller restores the menu.
class LessonDriver {
public:
    LessonDriver(FormContext form, QuestionPool &pool)
        : m_form(form)
        , m_pool(pool)
    {
    }

    void run();

private:
    void runTablesInOrder();
    void runFromPool();
    void showStatus();

    FormContext m_form;
    QuestionPool &m_pool;
};

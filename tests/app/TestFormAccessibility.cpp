// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Animations.h"
#include "FakePlatform.h"
#include "FormControls.h"
#include "FormMain.h"
#include "FormState.h"
#include "Frame.h"
#include "Label.h"
#include "LabelAccessible.h"
#include "Rgb.h"

#include <QAccessible>
#include <QTest>
#include <tuple>

#ifdef CORVALLO_QPA_ACCESSIBILITY
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#endif

using namespace std::chrono_literals;

namespace {

// Every event Qt would hand to a screen reader, as (kind, object).
QList<std::tuple<QAccessible::Event, QObject *>> told;

void recordEvent(QAccessibleEvent *event)
{
    told.append({ event->type(), event->object() });
}

// What a press or a click leaves behind that a user or the lesson can observe.
struct Outcome {
    int level;
    bool quiz;
    bool armed;
    bool stopRequested;
    bool unloaded;
    int lastKey;
    bool menuShown;
    Rgb digitBack;
    bool operator==(const Outcome &) const = default;
};

}

// What a screen reader is told through Qt's accessibility, and what its press does, on the
// window as the program builds it and on the virtual clock.
class TestFormAccessibility : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        LabelAccessible::installFactory();
        QAccessible::installUpdateHandler(recordEvent);
#ifdef CORVALLO_QPA_ACCESSIBILITY
        // As a screen reader's arrival would: without it Qt sends no event at all.
        if (QPlatformAccessibility *platform
            = QGuiApplicationPrivate::platformIntegration()->accessibility())
            platform->setActive(true);
#endif
    }

    void whatIsToldAtTheMenu_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("shown");
        const QString none;
        const int button = QAccessible::PushButton;
        const int text = QAccessible::StaticText;
        QTest::newRow("Livello 1") << "LabelLevel(1)" << button << "Livello 1" << true;
        QTest::newRow("Livello 5") << "LabelLevel(5)" << button << "Livello 5" << true;
        QTest::newRow("Basta!") << "LabelLevel(0)" << button << "Basta!" << true;
        QTest::newRow("Stop, hidden until a lesson") << "LabelStop" << button << "Stop" << false;
        QTest::newRow("pad digit 0, hidden with the pad")
            << "LabelDigit(0)" << button << "0" << false;
        QTest::newRow("pad digit 9, hidden with the pad")
            << "LabelDigit(9)" << button << "9" << false;
        QTest::newRow("the pad's hint")
            << "LabelHint" << text << "Clicca o Digita il Risultato" << false;
        QTest::newRow("the status line, hidden")
            << "LabelG" << text << "Giusti: 0                  Sbagliati: 0" << false;
        QTest::newRow("the message, hidden") << "LabelM" << text << "NO!" << false;
        QTest::newRow("the first factor, blank") << "Label1" << text << none << true;
        QTest::newRow("the product, blank") << "LabelR" << text << none << true;
        QTest::newRow("the dot grid is a picture")
            << "LabelP" << int(QAccessible::Graphic) << none << true;
    }

    void whatIsToldAtTheMenu()
    {
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(bool, shown);
        FakePlatform platform;
        FormMain form(platform);
        form.Form_Load(std::nullopt);
        form.show();
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(find(form, control));
        QVERIFY(iface);
        QCOMPARE(int(iface->role()), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QCOMPARE(!iface->state().invisible, shown);
        QVERIFY(!iface->state().focusable);
        QAccessibleActionInterface *actions = iface->actionInterface();
        QVERIFY(actions);
        const QStringList expected = role == QAccessible::PushButton
            ? QStringList { QAccessibleActionInterface::pressAction() }
            : QStringList {};
        QCOMPARE(actions->actionNames(), expected);
    }

    // A press is compared with a real click on an identical window: the same outcome, and a lesson
    // armed by either runs the same pauses until it is stopped. A label off screen cannot be
    // clicked, and its press changes nothing.
    void aPressDoesWhatAClickDoes_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("when");
        QTest::addColumn<bool>("reachable");
        QTest::newRow("Livello 1 in the menu") << "LabelLevel(1)"
                                               << "menu" << true;
        QTest::newRow("Livello 4 in the menu") << "LabelLevel(4)"
                                               << "menu" << true;
        QTest::newRow("Basta! in the menu") << "LabelLevel(0)"
                                            << "menu" << true;
        QTest::newRow("Stop in a lesson") << "LabelStop"
                                          << "lesson" << true;
        QTest::newRow("Stop in the menu after a lesson") << "LabelStop"
                                                         << "after" << true;
        QTest::newRow("pad digit 0 while an answer is read") << "LabelDigit(0)"
                                                             << "pad" << true;
        QTest::newRow("pad digit 7 while an answer is read") << "LabelDigit(7)"
                                                             << "pad" << true;
        QTest::newRow("Stop before the first lesson") << "LabelStop"
                                                      << "menu" << false;
        QTest::newRow("pad digit 7 with the pad hidden") << "LabelDigit(7)"
                                                         << "menu" << false;
        QTest::newRow("Livello 2 with the menu hidden") << "LabelLevel(2)"
                                                        << "lesson" << false;
        QTest::newRow("Stop while the digit pad covers it") << "LabelStop"
                                                            << "pad" << false;
    }

    void aPressDoesWhatAClickDoes()
    {
        QFETCH(QString, control);
        QFETCH(QString, when);
        QFETCH(bool, reachable);
        FakePlatform clickPlatform;
        FormMain clicked(clickPlatform);
        FakePlatform pressPlatform;
        FormMain pressed(pressPlatform);
        for (FormMain *form : { &clicked, &pressed }) {
            prepare(*form, when);
            QVERIFY(QTest::qWaitForWindowExposed(form));
        }
        const Outcome before = outcomeOf(pressed, control);

        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(find(pressed, control));
        QVERIFY(iface && iface->actionInterface());
        QCOMPARE(!iface->state().invisible, reachable);
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::sendPostedEvents();
        QCOMPARE(pressPlatform.pumps, 0);
        if (!reachable) {
            QCOMPARE(outcomeOf(pressed, control), before);
            return;
        }
        QTest::mouseClick(find(clicked, control), Qt::LeftButton);
        QCOMPARE(outcomeOf(pressed, control), outcomeOf(clicked, control));
        QVERIFY(outcomeOf(pressed, control) != before);

        if (!pressPlatform.isTimerEnabled())
            return;
        for (auto [platform, form] :
            { std::pair { &clickPlatform, &clicked }, std::pair { &pressPlatform, &pressed } }) {
            platform->at(4000ms, [form] { form->LabelStop_Click(); });
            QVERIFY(platform->fireTimer());
        }
        QVERIFY(pressPlatform.totalSlept() >= 4000ms);
        QCOMPARE(pressPlatform.sleepsInMs(), clickPlatform.sleepsInMs());
    }

    // A new caption is told once; a colour, a grey level of a fade or the dot grid's rows are
    // not told at all.
    void captionChangesAreTold_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("events");
        QTest::newRow("a new first factor") << "Label1"
                                            << "caption"
                                            << "3" << 1;
        QTest::newRow("the sign") << "LabelX"
                                  << "caption"
                                  << "X" << 1;
        QTest::newRow("the product once shown") << "LabelR"
                                                << "caption"
                                                << "27" << 1;
        QTest::newRow("the late message, still hidden") << "LabelM"
                                                        << "caption"
                                                        << "Tempo!" << 1;
        QTest::newRow("the status line after an answer")
            << "LabelG"
            << "caption"
            << "Rimanenti: 63         Giusti: 1         Sbagliati: 0         Punteggio: 140" << 1;
        QTest::newRow("a whole fade in of a factor") << "Label2"
                                                     << "fade in"
                                                     << "9" << 1;
        QTest::newRow("the same caption again") << "Label1"
                                                << "caption"
                                                << "" << 0;
        QTest::newRow("a grey level of a fade") << "Label1"
                                                << "fore"
                                                << "" << 0;
        QTest::newRow("the light of a pad digit") << "LabelDigit(5)"
                                                  << "back"
                                                  << "5" << 0;
        QTest::newRow("a row of the dot grid") << "LabelP"
                                               << "caption"
                                               << " O  O \r\n"
                                               << 0;
    }

    void captionChangesAreTold()
    {
        QFETCH(QString, control);
        QFETCH(QString, change);
        QFETCH(QString, caption);
        QFETCH(int, events);
#ifdef CORVALLO_QPA_ACCESSIBILITY
        QVERIFY2(QAccessible::isActive(), "the platform's accessibility did not switch on");
#else
        QSKIP("Qt's private Gui headers (qt6-base-private-dev) cannot be used here: nothing can "
              "switch accessibility on as a screen reader does");
#endif
        FakePlatform platform;
        FormMain form(platform);
        form.Form_Load(std::nullopt);
        form.show();
        Label *label = find(form, control);
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(label);
        QVERIFY(iface);
        told.clear();
        if (change == "caption")
            label->setCaption(caption);
        else if (change == "fore")
            label->setForeColor(grey(127));
        else if (change == "back")
            label->setBackColor(Colours::Highlight);
        else
            Animations({ form.controls(), form.state(), platform }).FadeIn(*label, caption, 16);

        QList<std::tuple<QAccessible::Event, QObject *>> expected;
        for (int i = 0; i < events; ++i)
            expected.append({ QAccessible::NameChanged, label });
        QCOMPARE(told, expected);
        if (iface->role() != QAccessible::Graphic)
            QCOMPARE(iface->text(QAccessible::Name), caption);
    }

private:
    static Label *find(FormMain &form, const QString &control)
    {
        return form.findChild<Label *>(control);
    }

    static void prepare(FormMain &form, const QString &when)
    {
        form.Form_Load(std::nullopt);
        form.show();
        const FormControls &c = form.controls();
        if (when == "lesson") {
            c.FrameLevel->setVisible(false);
            c.LabelStop->setVisible(true);
            form.state().Running = true;
        } else if (when == "after") {
            c.LabelStop->setVisible(true);
        } else if (when == "pad") {
            c.FrameLevel->setVisible(false);
            c.LabelStop->setVisible(true);
            c.FrameNum->setVisible(true);
            form.state().Running = true;
            form.state().LastKey = -1;
        }
    }

    static Outcome outcomeOf(FormMain &form, const QString &control)
    {
        const FormState &s = form.state();
        const Label *label = find(form, control);
        return { s.Level, s.QuizMode, form.platform().isTimerEnabled(), s.StopRequested,
            form.isUnloaded(), s.LastKey, form.controls().FrameLevel->isVisible(),
            label->backColor() };
    }
};

QTEST_MAIN(TestFormAccessibility)
#include "TestFormAccessibility.moc"

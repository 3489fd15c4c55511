#include "FakePlatform.h"
#include "FormControls.h"
#include "FormMain.h"
#include "Frame.h"
#include "Label.h"
#include "Rgb.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace std::chrono_literals;

// Start-up, the level menu, "Stop" and closing, on the virtual clock.
class TestFormMain : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        platform = std::make_unique<FakePlatform>();
        form = std::make_unique<FormMain>(*platform);
    }
    void cleanup()
    {
        form.reset();
        platform.reset();
    }

    void loadWithoutLevelWaitsInTheMenu()
    {
        form->Form_Load(std::nullopt);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const FormControls &c = form->controls();
        QVERIFY(c.FrameLevel->isVisible());
        QVERIFY(!c.LabelStop->isVisible());
        QVERIFY(!c.LabelG->isVisible());
        QVERIFY(!platform->isTimerEnabled());
        QCOMPARE(form->state().DelayFactor, 10);
        for (Label *label : c.questionLabels()) {
            QCOMPARE(label->caption(), QString());
            QCOMPARE(label->foreColor(), Colours::Black);
        }
        QCOMPARE(form->pool().count(), 0);
        QVERIFY(!form->isUnloaded());
    }

private:
    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<FormMain> form;
};

QTEST_MAIN(TestFormMain)
#include "TestFormMain.moc"

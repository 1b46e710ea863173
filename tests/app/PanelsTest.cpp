// The four sliding panels: where they end, the gaps they keep, and what runs in their middle.
#include "MainWindowFixture.h"

#include "app/RunTimer.h"
#include "view/PopulationChart.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

using namespace tivla;

class PanelsTest : public QObject, protected MainWindowUnderTest {
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(); }
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void hoveringOpensAndChoosingShutsTheStampPanels() {
        sendMouse(form->GroupBox4, QEvent::MouseMove, QPoint(60, 6));
        QCOMPARE(form->GroupBox4->height(), 121);
        QCOMPARE(form->GroupBox5->y(), 242);
        sendMouse(form->GroupBox5, QEvent::MouseMove, QPoint(60, 6));
        QCOMPARE(form->GroupBox5->height(), 137);
        QCOMPARE(form->GroupBox4->height(), 121); // opening one does not shut the other

        QTest::mouseClick(form->RadioButtons[6], Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(form->formState().StampKind, 6);
        QCOMPARE(form->GroupBox4->height(), 15);
        QCOMPARE(form->GroupBox5->y(), 136);
        QCOMPARE(form->GroupBox5->height(), 137);
        QTest::mouseClick(form->RadioButtons[14], Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(form->GroupBox5->height(), 15);
        QVERIFY(!form->RadioButtons[6]->isChecked());

        // Moves over a child, or reported beyond the shut strip, are not the panel's own.
        sendMouse(form->GroupBox4, QEvent::MouseMove, QPoint(20, 30));
        QCOMPARE(form->GroupBox4->height(), 15);
        sendMouse(form->GroupBox4, QEvent::MouseMove, QPoint(60, 6));
        sendMouse(form->GroupBox4, QEvent::MouseMove, QPoint(20, 24)); // over "Один"
        QCOMPARE(form->GroupBox4->height(), 121);
    }

    void thePinOpensBothAndReleasesFiguresFirst() {
        QTest::mouseClick(form->CheckBox3, Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(form->CheckBox3->text(), QStringLiteral("Свернуть"));
        QCOMPARE(form->GroupBox4->height(), 121);
        QCOMPARE(form->GroupBox5->height(), 137);
        QCOMPARE(form->GroupBox5->y(), 242);
        QVERIFY(!form->formState().AutoCollapse);
        // While pinned, a choice leaves both panels open.
        QTest::mouseClick(form->RadioButtons[3], Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(form->GroupBox4->height(), 121);

        int brushHeightWhenFiguresStarted = -1;
        watcher.onResize = [&] {
            if (brushHeightWhenFiguresStarted < 0) {
                brushHeightWhenFiguresStarted = form->GroupBox4->height();
            }
        };
        form->GroupBox5->installEventFilter(&watcher);
        QTest::mouseClick(form->CheckBox3, Qt::LeftButton, {}, QPoint(5, 8));
        form->GroupBox5->removeEventFilter(&watcher);
        QCOMPARE(brushHeightWhenFiguresStarted, 121);
        QCOMPARE(form->CheckBox3->text(), QStringLiteral("Окрыть и зафиксировать"));
        QCOMPARE(form->GroupBox4->height(), 15);
        QCOMPARE(form->GroupBox5->height(), 15);
        QCOMPARE(form->GroupBox5->y(), 136);
        QVERIFY(form->formState().AutoCollapse);
    }

    void settingsPanelPushesTheStatisticsPanel() {
        bool disabledMidSlide = false;
        QTimer::singleShot(0, form.get(),
                           [&] { disabledMidSlide = !form->CheckBox2->isEnabled(); });
        QTest::mouseClick(form->CheckBox2, Qt::LeftButton, {}, QPoint(5, 12));
        QVERIFY(disabledMidSlide);
        QVERIFY(form->CheckBox2->isEnabled());
        QCOMPARE(form->GroupBox1->height(), 97);
        QCOMPARE(form->GroupBox2->y(), 352);
        QTest::mouseClick(form->CheckBox2, Qt::LeftButton, {}, QPoint(5, 12));
        QCOMPARE(form->GroupBox1->height(), 0);
        QCOMPARE(form->GroupBox2->y(), 255);
        QTest::mouseClick(form->CheckBox2, Qt::LeftButton, {}, QPoint(5, 12));
        QCOMPARE(form->GroupBox2->y(), 352);
    }

    void keysTypedDuringTheSettingsSlideGoNowhere() {
        form->activateWindow();
        form->CheckBox2->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        const QString fillCount = form->Edit3->text();
        // A Space in the middle of the slide, as a second press of the box's key would send.
        QTimer::singleShot(0, form.get(), [&] {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_5);
        });
        QTest::keyClick(form->CheckBox2, Qt::Key_Space);
        QCOMPARE(form->GroupBox1->height(), 97);
        QCOMPARE(form->Edit3->text(), fillCount);
        QVERIFY(log.errors.isEmpty());
        QVERIFY(form->CheckBox2->hasFocus());
    }

    void statisticsPanelTogglesOnItsOwnSurfaceOnly() {
        QTest::mouseClick(form->GroupBox2, Qt::LeftButton, {}, QPoint(170, 7));
        QCOMPARE(form->GroupBox2->height(), 265);
        QCOMPARE(form->GroupBox2->title(), QStringLiteral("C") + QStringLiteral("татистика"));
        QVERIFY(form->formState().StatsVisible);
        QTest::mouseClick(form->Label6, Qt::LeftButton);
        QTest::mouseClick(form->Chart1, Qt::LeftButton);
        QCOMPARE(form->GroupBox2->height(), 265);
        QTest::mouseClick(form->GroupBox2, Qt::LeftButton, {}, QPoint(170, 7));
        QCOMPARE(form->GroupBox2->height(), 15);
        QCOMPARE(form->GroupBox2->title(), QStringLiteral("Показать статистику"));
        QVERIFY(!form->formState().StatsVisible);
    }

    void ticksRunInTheMiddleOfAnAnimatedSlide() {
        form->Timer1->setInterval(1);
        QTest::mouseClick(form->SpeedButton7, Qt::LeftButton);
        const int before = form->board().Generation;
        QTest::mouseClick(form->GroupBox2, Qt::LeftButton, {}, QPoint(170, 7));
        QTest::mouseClick(form->GroupBox2, Qt::LeftButton, {}, QPoint(170, 7));
        QVERIFY(form->board().Generation > before);
    }

    void theWindowGrowsWhilePanelsReachBelowTheBoard() {
        QTest::mouseClick(form->SpeedButton11, Qt::LeftButton); // 100x100: a 600-pixel board
        QCOMPARE(form->height(), 600);
        QTest::mouseClick(form->CheckBox2, Qt::LeftButton, {}, QPoint(5, 12));
        QTest::mouseClick(form->GroupBox2, Qt::LeftButton, {}, QPoint(170, 7));
        QCOMPARE(form->GroupBox2->geometry().bottom() + 1, 617);
        QCOMPARE(form->height(), 617);
        QTest::mouseClick(form->GroupBox2, Qt::LeftButton, {}, QPoint(170, 7));
        QCOMPARE(form->height(), 600);
    }

private:
    class ResizeWatcher : public QObject {
    public:
        using QObject::QObject;
        std::function<void()> onResize;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Resize && onResize) {
                onResize();
            }
            return false;
        }
    };

    ResizeWatcher watcher;
};

QTEST_MAIN(PanelsTest)
#include "PanelsTest.moc"

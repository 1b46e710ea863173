// The title screen, the main window's own title area and the ways out of the program.
#include "MainWindowFixture.h"

#include "app/TForm2.h"

#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

using namespace tivla;

class ChromeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        prepareApplication();
        QApplication::setQuitOnLastWindowClosed(false);
    }

    void theTitleScreenOpensTheCentredMainWindow() {
        TForm2 title;
        TForm1 main;
        title.setMainWindow(&main);
        main.setTitleScreen(&title);
        title.show();
        QVERIFY(QTest::qWaitForWindowExposed(&title));
        QCOMPARE(title.pos(), QPoint(254, 150));
        QCOMPARE(title.size(), QSize(767, 553));
        QVERIFY(title.windowFlags() & Qt::FramelessWindowHint);
        QTest::mouseClick(title.Image1, Qt::LeftButton, {}, QPoint(700, 500));
        QVERIFY(main.isVisible());
        QVERIFY(!title.isVisible());
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(main.size(), QSize(968, 640));
        QCOMPARE(main.pos(), QPoint((screen.width() - 968) / 2, (screen.height() - 640) / 2));
        QCOMPARE(main.windowTitle(), QStringLiteral("Тивла"));
    }

    void theTitleAreaDragsTheWindowButItsButtonsDoNot() {
        FakeDialogs::Log log;
        auto form = shownMainWindow(log);
        QVERIFY(form);
        form->move(100, 100);
        QTest::mousePress(form->GroupBox3, Qt::LeftButton, {}, QPoint(150, 5));
        QVERIFY(form->WindowDragging);
        QCOMPARE(form->DragOrigin, QPoint(150, 5));
        sendMouse(form->GroupBox3, QEvent::MouseMove, QPoint(170, 15), Qt::NoButton,
                  Qt::LeftButton);
        QCOMPARE(form->pos(), QPoint(120, 110));
        QTest::mouseRelease(form->GroupBox3, Qt::LeftButton, {}, QPoint(150, 5));
        QVERIFY(!form->WindowDragging);
        sendMouse(form->GroupBox3, QEvent::MouseMove, QPoint(10, 10));
        QCOMPARE(form->pos(), QPoint(120, 110));

        QTest::mousePress(form->Label11, Qt::RightButton, {}, QPoint(5, 5));
        QVERIFY(form->WindowDragging);
        QTest::mouseRelease(form->Label11, Qt::RightButton, {}, QPoint(5, 5));

        // Only the left button captures the pointer: a right or middle drag moves the window
        // while the pointer stays over the pressed control, and its release counts only there.
        for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
            const QPoint start = form->pos();
            QTest::mousePress(form->GroupBox3, button, {}, QPoint(150, 5));
            sendMouse(form->GroupBox3, QEvent::MouseMove, QPoint(160, 8), Qt::NoButton, button);
            QCOMPARE(form->pos(), start + QPoint(10, 3));
            sendMouse(form->GroupBox3, QEvent::MouseMove, QPoint(150, -40), Qt::NoButton, button);
            QCOMPARE(form->pos(), start + QPoint(10, 3));
            sendMouse(form->GroupBox3, QEvent::MouseButtonRelease, QPoint(150, -40), button);
            QVERIFY(form->WindowDragging);
            sendMouse(form->GroupBox3, QEvent::MouseButtonRelease, QPoint(150, 5), button);
            QVERIFY(!form->WindowDragging);
        }
        // The left button's capture carries the drag beyond the control.
        QTest::mousePress(form->GroupBox3, Qt::LeftButton, {}, QPoint(150, 5));
        const QPoint start = form->pos();
        sendMouse(form->GroupBox3, QEvent::MouseMove, QPoint(150, -40), Qt::NoButton,
                  Qt::LeftButton);
        QCOMPARE(form->pos(), start + QPoint(0, -45));
        sendMouse(form->GroupBox3, QEvent::MouseButtonRelease, QPoint(150, -40), Qt::LeftButton);
        QVERIFY(!form->WindowDragging);

        for (QToolButton* button : {form->SpeedButton2, form->SpeedButton5, form->SpeedButton6}) {
            QTest::mousePress(button, Qt::LeftButton);
            QVERIFY(!form->WindowDragging);
            button->setDown(false);
        }
    }

    void theAboutBoxCreditsTheAuthors() {
        FakeDialogs::Log log;
        auto form = shownMainWindow(log);
        QVERIFY(form);
        QTest::mouseClick(form->SpeedButton2, Qt::LeftButton);
        QCOMPARE(log.messages.size(), 1);
        // Two lines, with no empty line between them.
        const QStringList lines =
            log.messages.first().split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
        QCOMPARE(lines.size(), 2);
        QVERIFY(!lines.first().isEmpty() && !lines.last().isEmpty());
    }

    void everyWayOfClosingTheMainWindowEndsTheProgram() {
        for (bool byExitButton : {true, false}) {
            TForm2 title;
            TForm1 main;
            title.setMainWindow(&main);
            main.setTitleScreen(&title);
            title.show();
            title.Image1Click();
            QTimer::singleShot(0, &main, [&] {
                if (byExitButton) {
                    QTest::mouseClick(main.SpeedButton6, Qt::LeftButton);
                } else {
                    main.close(); // as the window manager's close does
                }
            });
            bool timedOut = false;
            QTimer::singleShot(5000, &main, [&] {
                timedOut = true;
                QCoreApplication::exit(1);
            });
            QCOMPARE(QApplication::exec(), 0);
            QVERIFY(!timedOut);
            QVERIFY(!main.isVisible());
        }
    }
};

QTEST_MAIN(ChromeTest)
#include "ChromeTest.moc"

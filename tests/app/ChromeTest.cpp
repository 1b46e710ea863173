// The title screen, the main window's own title area and the ways out of the program.
#include "MainWindowFixture.h"

#include "app/TForm2.h"
#include "app/WindowDragArea.h"

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
        QWidget* area = control(*form, QStringLiteral("GroupBox3"));
        const auto* drag = control<WindowDragArea>(*form, QString());
        QTest::mousePress(area, Qt::LeftButton, {}, QPoint(150, 5));
        QVERIFY(drag->windowDragging());
        QCOMPARE(drag->dragOrigin(), QPoint(150, 5));
        sendMouse(area, QEvent::MouseMove, QPoint(170, 15), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(form->pos(), QPoint(120, 110));
        QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(150, 5));
        QVERIFY(!drag->windowDragging());
        sendMouse(area, QEvent::MouseMove, QPoint(10, 10));
        QCOMPARE(form->pos(), QPoint(120, 110));

        QWidget* caption = control(*form, QStringLiteral("Label11"));
        QTest::mousePress(caption, Qt::RightButton, {}, QPoint(5, 5));
        QVERIFY(drag->windowDragging());
        QTest::mouseRelease(caption, Qt::RightButton, {}, QPoint(5, 5));

        // Only the left button captures the pointer: a right or middle drag moves the window
        // while the pointer stays over the pressed control, and its release counts only there.
        for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
            const QPoint start = form->pos();
            QTest::mousePress(area, button, {}, QPoint(150, 5));
            sendMouse(area, QEvent::MouseMove, QPoint(160, 8), Qt::NoButton, button);
            QCOMPARE(form->pos(), start + QPoint(10, 3));
            sendMouse(area, QEvent::MouseMove, QPoint(150, -40), Qt::NoButton, button);
            QCOMPARE(form->pos(), start + QPoint(10, 3));
            sendMouse(area, QEvent::MouseButtonRelease, QPoint(150, -40), button);
            QVERIFY(drag->windowDragging());
            sendMouse(area, QEvent::MouseButtonRelease, QPoint(150, 5), button);
            QVERIFY(!drag->windowDragging());
        }
        // The left button's capture carries the drag beyond the control.
        QTest::mousePress(area, Qt::LeftButton, {}, QPoint(150, 5));
        const QPoint start = form->pos();
        sendMouse(area, QEvent::MouseMove, QPoint(150, -40), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(form->pos(), start + QPoint(0, -45));
        sendMouse(area, QEvent::MouseButtonRelease, QPoint(150, -40), Qt::LeftButton);
        QVERIFY(!drag->windowDragging());

        for (const char* name : {"SpeedButton2", "SpeedButton5", "SpeedButton6"}) {
            auto* button = control<QToolButton>(*form, QLatin1String(name));
            QTest::mousePress(button, Qt::LeftButton);
            QVERIFY(!drag->windowDragging());
            button->setDown(false);
        }
    }

    void theAboutBoxCreditsTheAuthors() {
        FakeDialogs::Log log;
        auto form = shownMainWindow(log);
        QVERIFY(form);
        QTest::mouseClick(control(*form, QStringLiteral("SpeedButton2")), Qt::LeftButton);
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
                    QTest::mouseClick(control(main, QStringLiteral("SpeedButton6")),
                                      Qt::LeftButton);
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

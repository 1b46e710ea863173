// Editing the board as a user does: choosing stamps and modes, presses, drags, keys, the fill.
#include "MainWindowFixture.h"

#include "app/SpinEdit.h"
#include "app/WindowColours.h"
#include "controls/FillCountField.h"
#include "view/StringGrid.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

using namespace tivla;

class EditingTest : public QObject, protected MainWindowUnderTest {
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(); }
    void init() {
        QVERIFY(openWindow());
        grid = control<StringGrid>("StringGrid1");
    }
    void cleanup() { closeWindow(); }

    void aLeftPressTogglesThePressedCellFromTheStart() {
        QTest::mousePress(grid, Qt::LeftButton, {}, centre(5, 6));
        QTest::mouseRelease(grid, Qt::LeftButton, {}, centre(5, 6));
        QVERIFY(form->board().isAlive(5, 6));
        QCOMPARE(aliveCount(), 1);
        QTest::mousePress(grid, Qt::LeftButton, {}, centre(5, 6));
        QTest::mouseRelease(grid, Qt::LeftButton, {}, centre(5, 6));
        QVERIFY(!form->board().isAlive(5, 6));
    }

    void stampButtonsActAsOneChoiceAcrossBothPanels() {
        choose(3);
        QCOMPARE(form->formState().StampKind, 3);
        choose(17);
        QCOMPARE(form->formState().StampKind, 17);
        choose(1);
        QCOMPARE(form->formState().StampKind, 1);
        int checked = 0;
        for (int k = 1; k <= 18; ++k) {
            checked += radioButton(k)->isChecked();
        }
        QCOMPARE(checked, 1);
        QVERIFY(radioButton(1)->isChecked());

        // A click on the button already checked runs nothing: the open panel stays open.
        sendMouse(control("GroupBox4"), QEvent::MouseMove, QPoint(60, 6));
        QTest::mouseClick(radioButton(1), Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(control<QGroupBox>("GroupBox4")->height(), kBrushesOpenHeight);
    }

    void aFigureLandsOnThePressedCell() {
        choose(18);
        QTest::mouseClick(grid, Qt::LeftButton, {}, centre(10, 10));
        for (auto [c, r] : {std::pair{11, 9}, {9, 10}, {10, 10}, {11, 10}, {10, 11}}) {
            QVERIFY(form->board().isAlive(c, r));
        }
        QCOMPARE(aliveCount(), 5);
        QApplication::processEvents();
        QCOMPARE(grid->snapshot().pixelColor(11 * 16 + 5, 9 * 16 + 5), kAliveColour);
    }

    void pokeDragsMoveTheCurrentCellOnly() {
        form->board().Cells[6][2] = kAlive;
        QTest::mousePress(grid, Qt::LeftButton, {}, centre(2, 2));
        for (int c = 3; c <= 8; ++c) {
            sendMouse(grid, QEvent::MouseMove, centre(c, 2), Qt::NoButton, Qt::LeftButton);
        }
        QTest::mouseRelease(grid, Qt::LeftButton, {}, centre(8, 2));
        QCOMPARE(grid->col(), 8);
        QCOMPARE(aliveCount(), 2); // the pressed cell and the one that was there
        QVERIFY(form->board().isAlive(6, 2));
    }

    void drawModeDrawsAlongThePathAndOnPlainMoves() {
        QTest::mouseClick(radioButton(20), Qt::LeftButton, {}, QPoint(5, 8));
        QVERIFY(form->formState().DrawMode);
        QTest::mousePress(grid, Qt::LeftButton, {}, centre(2, 2));
        for (int c = 3; c <= 5; ++c) {
            sendMouse(grid, QEvent::MouseMove, centre(c, 2), Qt::NoButton, Qt::LeftButton);
        }
        QTest::mouseRelease(grid, Qt::LeftButton, {}, centre(5, 2));
        for (int c = 2; c <= 5; ++c) {
            QVERIFY(form->board().isAlive(c, 2));
        }
        // Without a button the stamp goes to the current cell, wherever the pointer is.
        choose(5);
        sendMouse(grid, QEvent::MouseMove, centre(30, 30));
        QVERIFY(form->board().isAlive(6, 2));
        QVERIFY(!form->board().isAlive(30, 30));
    }

    void keyReleasesMarkTheCurrentCell() {
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Right);
        QTest::keyClick(grid, Qt::Key_Down);
        QVERIFY(form->board().isAlive(1, 0));
        QVERIFY(form->board().isAlive(1, 1));
        QTest::keyClick(grid, Qt::Key_Shift);
        QCOMPARE(aliveCount(), 2);
    }

    void aRightPressPlacesAtTheCurrentCellNotUnderThePointer() {
        grid->setCurrentCell(4, 4);
        QTest::mouseClick(grid, Qt::RightButton, {}, centre(20, 20));
        QVERIFY(form->board().isAlive(4, 4));
        QVERIFY(!form->board().isAlive(20, 20));
    }

    void theFillPlacesTheCountAndIsRefusedWhileRunning() {
        form->board().Cells[0][0] = kAlive;
        QTest::mouseClick(control("SpeedButton4"), Qt::LeftButton);
        QCOMPARE(aliveCount(), 4);
        QTest::mouseClick(control("SpeedButton7"), Qt::LeftButton);
        QTest::mouseClick(control("SpeedButton4"), Qt::LeftButton);
        QCOMPARE(log.messages, QStringList{QStringLiteral("Хозяин! Мы заняты.")});
        QTest::mouseClick(control("SpeedButton18"), Qt::LeftButton);
    }

    void theFillCountFieldRunsTheFieldRules() {
        // The field's own stepping, focus loss and key filter are the rules the field's unit
        // tests pin, not a second copy of them.
        auto* field = control<SpinEdit>("SpinEdit1");
        QTest::mouseClick(control("SpeedButton14"), Qt::LeftButton); // 200x200: nothing corrects
        for (const char* text : {"", "-", "2", "3", "17", "2549", "2550", "2551"}) {
            for (int delta : {+1, -1}) {
                field->setText(QString::fromLatin1(text));
                const std::string before = field->text().toStdString(); // after the correction
                field->stepBy(delta);
                QCOMPARE(field->text().toStdString(), fillCountTextAfterStep(before, delta));
            }
        }
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        field->setFocus();
        field->setText(QStringLiteral("20"));
        field->findChild<QLineEdit*>()->end(false);
        for (QChar typed : {QChar(0x0663), QChar(u'x'), QChar(u'\r'), QChar(u'7')}) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(typed));
            QApplication::sendEvent(field, &press);
        }
        QCOMPARE(field->text(), QStringLiteral("207"));
        field->setText(QStringLiteral("9999"));
        QVERIFY(field->hasFocus());
        control<QLineEdit>("Edit1")->setFocus();
        QCOMPARE(field->text(), QStringLiteral("2550"));
    }

    void theFillCountIsKeptInBoundsAndAlwaysEnds() {
        auto* field = control<SpinEdit>("SpinEdit1");
        field->setText(QStringLiteral("5000"));
        QCOMPARE(field->text(), QStringLiteral("1600"));
        field->setText(QStringLiteral("0"));
        QCOMPARE(field->text(), QStringLiteral("3"));
        QTest::mouseClick(control("SpeedButton13"), Qt::LeftButton); // 80x80
        field->setText(QStringLiteral("9999"));
        QCOMPARE(field->text(), QStringLiteral("2550"));
        // A count left over from a larger board: the fill still ends and says so.
        QTest::mouseClick(control("SpeedButton9"), Qt::LeftButton);
        QTest::mouseClick(control("SpeedButton4"), Qt::LeftButton);
        QCOMPARE(aliveCount(), 1600);
        QCOMPARE(log.messages.size(), 1);
    }

private:
    QPoint centre(int col, int row) const {
        const QRect r = grid->cellRect(col, row);
        return r.center();
    }
    void choose(int stamp) {
        QWidget* panel = control(stamp <= 11 ? "GroupBox4" : "GroupBox5");
        sendMouse(panel, QEvent::MouseMove, QPoint(60, 6));
        QTest::mouseClick(radioButton(stamp), Qt::LeftButton, {}, QPoint(5, 8));
    }

    StringGrid* grid = nullptr;
};

QTEST_MAIN(EditingTest)
#include "EditingTest.moc"

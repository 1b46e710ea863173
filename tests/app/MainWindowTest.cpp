// The main window as laid out at start, the board sizes and the grid lines.
#include "MainWindowFixture.h"

#include "app/SpinEdit.h"
#include "view/PopulationChart.h"
#include "view/StringGrid.h"
#include "view/ValueLabel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

using namespace tivla;

class MainWindowTest : public QObject, protected MainWindowUnderTest {
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(); }
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void startsAsLaidOut() {
        QCOMPARE(form->size(), QSize(968, 640));
        const struct {
            QWidget* widget;
            QRect geometry;
        } table[] = {
            {form->GroupBox3, {15, 8, 297, 49}},
            {form->SpeedButton2, {9, 16, 80, 25}},
            {form->SpeedButton5, {225, 16, 32, 25}},
            {form->SpeedButton6, {257, 16, 33, 25}},
            {form->SpeedButton10, {0, 88, 41, 22}},
            {form->SpeedButton14, {0, 184, 41, 22}},
            {form->SpeedButton1, {48, 64, 25, 25}},
            {form->SpeedButton7, {72, 64, 25, 25}},
            {form->SpeedButton18, {72, 64, 25, 25}},
            {form->SpeedButton3, {48, 88, 25, 25}},
            {form->SpeedButton16, {72, 88, 25, 25}},
            {form->SpeedButton8, {48, 112, 25, 25}},
            {form->SpeedButton15, {72, 112, 25, 25}},
            {form->SpeedButton17, {48, 136, 49, 25}},
            {form->Edit1, {152, 64, 33, 19}},
            {form->Edit2, {152, 88, 33, 19}},
            {form->Edit3, {152, 112, 33, 19}},
            {form->RadioButtons[19], {192, 64, 65, 17}},
            {form->RadioButtons[20], {256, 64, 57, 17}},
            {form->CheckBox3, {192, 80, 129, 17}},
            {form->GroupBox4, {200, 112, 121, 15}},
            {form->GroupBox5, {200, 136, 121, 15}},
            {form->RadioButtons[9], {8, 96, 65, 17}},
            {form->RadioButtons[12], {8, 112, 105, 17}},
            {form->CheckBox1, {56, 176, 121, 17}},
            {form->CheckBox2, {8, 216, 177, 25}},
            {form->GroupBox1, {0, 248, 137, 1}},
            {form->GroupBox2, {8, 256, 185, 15}},
            {form->Chart1, {8, 80, 169, 177}},
            {form->StringGrid1, {328, 0, 640, 640}},
        };
        for (const auto& row : table) {
            QCOMPARE(row.widget->geometry(), row.geometry);
        }
        QVERIFY(!form->SpeedButton9->isVisible());
        QVERIFY(!form->SpeedButton18->isVisible());
        QVERIFY(form->RadioButtons[19]->isChecked());
        for (int k = 1; k <= 18; ++k) {
            QVERIFY(!form->RadioButtons[k]->isChecked());
        }
        QCOMPARE(form->Label10->text(), QString(10, QLatin1Char(' ')));
        QVERIFY(form->Label2->text().isEmpty() && form->Label5->text().isEmpty() &&
                form->Label8->text().isEmpty());
        QCOMPARE(form->GroupBox2->title(), QStringLiteral("Показать статистику"));
        QCOMPARE(form->CheckBox3->text(), QStringLiteral("Окрыть и зафиксировать"));
        QCOMPARE(form->SpeedButton6->text(), QStringLiteral("Х"));
        QCOMPARE(form->SpeedButton9->text(), QStringLiteral("40X40"));
        QCOMPARE(form->RadioButtons[2]->text(), QStringLiteral("2х2"));
        QCOMPARE(form->SpeedButton7->toolTip(), QStringLiteral("Начать"));
        QCOMPARE(form->Chart1->leftAxis().maximum, 1600.0);
        // Buttons and labels take no focus.
        QCOMPARE(form->SpeedButton7->focusPolicy(), Qt::NoFocus);
        QCOMPARE(form->Label11->focusPolicy(), Qt::NoFocus);
        QCOMPARE(form->board().BoardSize, 40);
        const FormState& s = form->formState();
        QCOMPARE(s.CellSize, 15);
        QCOMPARE(s.StampKind, 1);
        QVERIFY(s.AutoCollapse && !s.StatsVisible && !s.DrawMode);
        QCOMPARE(s.StepsToRun, 0);
    }

    void sizeButtonsReshapeTheBoardAndTheWindow() {
        const struct {
            QToolButton* TForm1::*button;
            int size;
            int cell;
            int side;
        } table[] = {
            {&TForm1::SpeedButton10, 50, 13, 700}, {&TForm1::SpeedButton13, 80, 8, 720},
            {&TForm1::SpeedButton11, 100, 5, 600}, {&TForm1::SpeedButton12, 150, 4, 750},
            {&TForm1::SpeedButton14, 200, 2, 600}, {&TForm1::SpeedButton9, 40, 15, 640},
        };
        for (const auto& row : table) {
            form->board().Cells[3][3] = kAlive;
            QTest::mouseClick(form.get()->*row.button, Qt::LeftButton);
            QCOMPARE(form->board().BoardSize, row.size);
            QCOMPARE(form->formState().CellSize, row.cell);
            QVERIFY(!form->board().isAlive(3, 3)); // the old board was cleared
            QCOMPARE(form->StringGrid1->size(), QSize(row.side, row.side));
            QCOMPARE(form->StringGrid1->colCount(), row.size);
            QCOMPARE(form->Chart1->leftAxis().maximum, double(row.size * row.size));
            QCOMPARE(form->size(), QSize(328 + row.side, row.side));
            for (QToolButton* b : {form->SpeedButton9, form->SpeedButton10, form->SpeedButton11,
                                   form->SpeedButton12, form->SpeedButton13, form->SpeedButton14}) {
                QCOMPARE(b->isVisible(), b != form.get()->*row.button);
            }
        }
    }

    void tabVisitsEachControlAndEachRadioGroupOnce() {
        // A radio group is one stop, at its checked button; a group with none checked has none.
        const auto stopOf = [&](int first, int last) {
            QList<QWidget*> stop;
            for (int k = first; k <= last; ++k) {
                if (form->RadioButtons[k]->isChecked()) {
                    stop << form->RadioButtons[k];
                }
            }
            return stop;
        };
        const auto chainFrom = [&](QWidget* start, Qt::Key key = Qt::Key_Tab) {
            QList<QWidget*> visited{start};
            start->setFocus(Qt::TabFocusReason);
            for (int i = 0; i < 40; ++i) {
                QTest::keyClick(QApplication::focusWidget(), key,
                                key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
                if (QApplication::focusWidget() == start) {
                    break;
                }
                visited << QApplication::focusWidget();
            }
            return visited;
        };
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        // Once as the window starts (a brush checked, no figure), once with a figure chosen and
        // the brushes unchecked.
        for (int figure : {0, 17}) {
            if (figure != 0) {
                form->RadioButtons[figure]->click();
                form->UncheckBrushes();
            }
            const QList<QWidget*> expected =
                QList<QWidget*>{form->CheckBox1, form->SpinEdit1, form->StringGrid1} +
                stopOf(1, 11) + QList<QWidget*>{form->Edit1, form->Edit2} + stopOf(19, 20) +
                stopOf(12, 18) + QList<QWidget*>{form->CheckBox3, form->CheckBox2, form->Edit3};
            QCOMPARE(chainFrom(form->CheckBox1), expected);
            QList<QWidget*> backwards(expected.rbegin(), expected.rend() - 1);
            backwards.prepend(form->CheckBox1);
            QCOMPARE(chainFrom(form->CheckBox1, Qt::Key_Backtab), backwards);
        }
        QVERIFY(form->RadioButtons[17]->isChecked());
    }

    void sizeOutsideTheTableKeepsTheCellSizeAndShowsEveryButton() {
        form->board().BoardSize = 60;
        form->ApplyBoardSize();
        QCOMPARE(form->StringGrid1->size(), QSize(960, 960));
        for (QToolButton* b : {form->SpeedButton9, form->SpeedButton10, form->SpeedButton14}) {
            QVERIFY(b->isVisible());
        }
    }

    void hidingTheLinesKeepsTheControlAndShowsTheStrip() {
        form->board().Cells[2][3] = kAlive;
        form->PaintAliveCell(2, 3);
        QTest::mouseClick(form->CheckBox1, Qt::LeftButton);
        QCOMPARE(form->CheckBox1->text(), QStringLiteral("Показать сетку"));
        QCOMPARE(form->StringGrid1->gridLineWidth(), 0);
        QCOMPARE(form->StringGrid1->size(), QSize(640, 640));
        QApplication::processEvents();
        const QImage shot = form->StringGrid1->snapshot();
        const QColor yellow(255, 255, 0);
        const QColor orange(255, 128, 64);
        QCOMPARE(shot.pixelColor(30, 45), yellow);
        QCOMPARE(shot.pixelColor(44, 59), yellow);
        QCOMPARE(shot.pixelColor(45, 59), orange);
        QCOMPARE(shot.pixelColor(639, 639), orange); // the strip beyond the last cell
        QTest::mouseClick(form->CheckBox1, Qt::LeftButton);
        QCOMPARE(form->CheckBox1->text(), QStringLiteral("Убрать сетку"));
        QCOMPARE(form->StringGrid1->gridLineWidth(), 1);
    }

    void clearingEmptiesBoardAndStatistics() {
        form->board().Cells[5][5] = kAlive;
        form->board().Cells[40][2] = kAlive; // beyond the board: stays
        form->formState().StatsVisible = true;
        form->NextGeneration();
        QCOMPARE(form->Label5->text(), QStringLiteral("1"));
        QTest::mouseClick(form->SpeedButton1, Qt::LeftButton);
        QVERIFY(!form->board().isAlive(5, 5));
        QVERIFY(form->board().isAlive(40, 2));
        QCOMPARE(form->board().Generation, 0);
        QVERIFY(form->Label5->text().isEmpty() && form->Label10->text().isEmpty());
        QCOMPARE(form->Chart1->series().count(), 0);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"

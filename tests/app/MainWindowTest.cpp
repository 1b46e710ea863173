// The main window as laid out at start, the board sizes and the grid lines.
#include "MainWindowFixture.h"

#include "app/SpinEdit.h"
#include "app/WindowColours.h"
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
            const char* name;
            QRect geometry;
        } table[] = {
            {"GroupBox3", {15, 8, 297, 49}},      {"SpeedButton2", {9, 16, 80, 25}},
            {"SpeedButton5", {225, 16, 32, 25}},  {"SpeedButton6", {257, 16, 33, 25}},
            {"SpeedButton10", {0, 88, 41, 22}},   {"SpeedButton14", {0, 184, 41, 22}},
            {"SpeedButton1", {48, 64, 25, 25}},   {"SpeedButton7", {72, 64, 25, 25}},
            {"SpeedButton18", {72, 64, 25, 25}},  {"SpeedButton3", {48, 88, 25, 25}},
            {"SpeedButton16", {72, 88, 25, 25}},  {"SpeedButton8", {48, 112, 25, 25}},
            {"SpeedButton15", {72, 112, 25, 25}}, {"SpeedButton17", {48, 136, 49, 25}},
            {"Edit1", {152, 64, 33, 19}},         {"Edit2", {152, 88, 33, 19}},
            {"Edit3", {152, 112, 33, 19}},        {"RadioButton19", {192, 64, 65, 17}},
            {"RadioButton20", {256, 64, 57, 17}}, {"CheckBox3", {192, 80, 129, 17}},
            {"GroupBox4", {200, 112, 121, 15}},   {"GroupBox5", {200, 136, 121, 15}},
            {"RadioButton9", {8, 96, 65, 17}},    {"RadioButton12", {8, 112, 105, 17}},
            {"CheckBox1", {56, 176, 121, 17}},    {"CheckBox2", {8, 216, 177, 25}},
            {"GroupBox1", {0, 248, 137, 1}},      {"GroupBox2", {8, 256, 185, 15}},
            {"Chart1", {8, 80, 169, 177}},        {"StringGrid1", {328, 0, 640, 640}},
        };
        for (const auto& row : table) {
            QCOMPARE(control(row.name)->geometry(), row.geometry);
        }
        QVERIFY(!control<QToolButton>("SpeedButton9")->isVisible());
        QVERIFY(!control<QToolButton>("SpeedButton18")->isVisible());
        QVERIFY(radioButton(19)->isChecked());
        for (int k = 1; k <= 18; ++k) {
            QVERIFY(!radioButton(k)->isChecked());
        }
        QCOMPARE(control<ValueLabel>("Label10")->text(), QString(10, QLatin1Char(' ')));
        for (const char* value : {"Label2", "Label5", "Label8"}) {
            QVERIFY(control<ValueLabel>(value)->text().isEmpty());
        }
        QCOMPARE(control<QGroupBox>("GroupBox2")->title(), QStringLiteral("Показать статистику"));
        QCOMPARE(control<QCheckBox>("CheckBox3")->text(), QStringLiteral("Окрыть и зафиксировать"));
        QCOMPARE(control<QToolButton>("SpeedButton6")->text(), QStringLiteral("Х"));
        QCOMPARE(control<QToolButton>("SpeedButton9")->text(), QStringLiteral("40X40"));
        QCOMPARE(radioButton(2)->text(), QStringLiteral("2х2"));
        QCOMPARE(control<QToolButton>("SpeedButton7")->toolTip(), QStringLiteral("Начать"));
        QCOMPARE(control<PopulationChart>("Chart1")->leftAxis().maximum, 1600.0);
        // Buttons and labels take no focus.
        QCOMPARE(control<QToolButton>("SpeedButton7")->focusPolicy(), Qt::NoFocus);
        QCOMPARE(control<QLabel>("Label11")->focusPolicy(), Qt::NoFocus);
        const Board& b = form->board();
        QCOMPARE(b.BoardSize, 40);
        const FormState& state = form->formState();
        QCOMPARE(state.CellSize, 15);
        QCOMPARE(state.StampKind, 1);
        QVERIFY(state.AutoCollapse && !state.StatsVisible && !state.DrawMode);
        QCOMPARE(state.StepsToRun, 0);
    }

    void eachControlIsFoundByItsNameAlone() {
        // Tests and tools reach the controls by the program's names only: each name must lead
        // to exactly one object, or a copied name would silently hand them the wrong control.
        QStringList names = {QStringLiteral("SpinEdit1"), QStringLiteral("StringGrid1"),
                             QStringLiteral("Chart1"), QStringLiteral("Timer1")};
        const struct {
            const char* kind;
            int count;
        } numbered[] = {{"GroupBox", 5}, {"SpeedButton", 18}, {"RadioButton", 20},
                        {"CheckBox", 3}, {"Label", 13},       {"Edit", 3}};
        for (const auto& [kind, count] : numbered) {
            for (int k = 1; k <= count; ++k) {
                names << QLatin1String(kind) + QString::number(k);
            }
        }
        for (const QString& name : names) {
            QVERIFY2(form->findChildren<QObject*>(name).size() == 1, qPrintable(name));
        }
    }

    void sizeButtonsReshapeTheBoardAndTheWindow() {
        const struct {
            const char* button;
            const char* caption;
            int size;
            int cell;
            int side;
        } table[] = {
            {"SpeedButton10", "50x50", 50, 13, 700},   {"SpeedButton13", "80x80", 80, 8, 720},
            {"SpeedButton11", "100x100", 100, 5, 600}, {"SpeedButton12", "150x150", 150, 4, 750},
            {"SpeedButton14", "200x200", 200, 2, 600}, {"SpeedButton9", "40X40", 40, 15, 640},
        };
        auto* grid = control<StringGrid>("StringGrid1");
        for (const auto& row : table) {
            form->board().Cells[3][3] = kAlive;
            QCOMPARE(control<QToolButton>(row.button)->text(), QLatin1String(row.caption));
            QTest::mouseClick(control(row.button), Qt::LeftButton);
            QCOMPARE(form->board().BoardSize, row.size);
            QCOMPARE(form->formState().CellSize, row.cell);
            QVERIFY(!form->board().isAlive(3, 3)); // the old board was cleared
            QCOMPARE(grid->size(), QSize(row.side, row.side));
            QCOMPARE(grid->colCount(), row.size);
            QCOMPARE(control<PopulationChart>("Chart1")->leftAxis().maximum,
                     double(row.size * row.size));
            QCOMPARE(form->size(), QSize(328 + row.side, row.side));
            for (const char* b : {"SpeedButton9", "SpeedButton10", "SpeedButton11", "SpeedButton12",
                                  "SpeedButton13", "SpeedButton14"}) {
                QCOMPARE(control(b)->isVisible(), QLatin1String(b) != QLatin1String(row.button));
            }
        }
    }

    void tabVisitsEachControlAndEachRadioGroupOnce() {
        // A radio group is one stop, at its checked button; a group with none checked has none.
        const auto stopOf = [&](int first, int last) {
            QList<QWidget*> stop;
            for (int k = first; k <= last; ++k) {
                if (radioButton(k)->isChecked()) {
                    stop << radioButton(k);
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
                radioButton(figure)->click(); // choosing a figure unchecks the brushes
                QVERIFY(stopOf(1, 11).isEmpty());
            }
            const auto controls = [this](std::initializer_list<const char*> names) {
                QList<QWidget*> widgets;
                for (const char* name : names) {
                    widgets << control(name);
                }
                return widgets;
            };
            const QList<QWidget*> expected = controls({"CheckBox1", "SpinEdit1", "StringGrid1"}) +
                                             stopOf(1, 11) + controls({"Edit1", "Edit2"}) +
                                             stopOf(19, 20) + stopOf(12, 18) +
                                             controls({"CheckBox3", "CheckBox2", "Edit3"});
            QWidget* first = control("CheckBox1");
            QCOMPARE(chainFrom(first), expected);
            QList<QWidget*> backwards(expected.rbegin(), expected.rend() - 1);
            backwards.prepend(first);
            QCOMPARE(chainFrom(first, Qt::Key_Backtab), backwards);
        }
        QVERIFY(radioButton(17)->isChecked());
    }

    void sizeOutsideTheTableKeepsTheCellSizeAndShowsEveryButton() {
        // Only a board file brings such a size.
        QTemporaryDir scratch;
        QFile sixty(scratch.filePath(QStringLiteral("sixty.txt")));
        QVERIFY(sixty.open(QIODevice::WriteOnly) && sixty.write("60\r\n") == 4);
        sixty.close();
        log.nextOpen = sixty.fileName();
        QTest::mouseClick(control("SpeedButton3"), Qt::LeftButton);
        QCOMPARE(form->board().BoardSize, 60);
        QCOMPARE(control<StringGrid>("StringGrid1")->size(), QSize(960, 960));
        for (const char* b : {"SpeedButton9", "SpeedButton10", "SpeedButton14"}) {
            QVERIFY(control(b)->isVisible());
        }
    }

    void hidingTheLinesKeepsTheControlAndShowsTheStrip() {
        pressCell(2, 3);
        auto* lines = control<QCheckBox>("CheckBox1");
        auto* grid = control<StringGrid>("StringGrid1");
        QTest::mouseClick(lines, Qt::LeftButton);
        QCOMPARE(lines->text(), QStringLiteral("Показать сетку"));
        QCOMPARE(grid->gridLineWidth(), 0);
        QCOMPARE(grid->size(), QSize(640, 640));
        QApplication::processEvents();
        const QImage shot = grid->snapshot();
        QCOMPARE(shot.pixelColor(30, 45), kAliveColour);
        QCOMPARE(shot.pixelColor(44, 59), kAliveColour);
        QCOMPARE(shot.pixelColor(45, 59), kBoardColour);
        QCOMPARE(shot.pixelColor(639, 639), kBoardColour); // the strip beyond the last cell
        QTest::mouseClick(lines, Qt::LeftButton);
        QCOMPARE(lines->text(), QStringLiteral("Убрать сетку"));
        QCOMPARE(grid->gridLineWidth(), 1);
    }

    void clearingEmptiesBoardAndStatistics() {
        form->board().Cells[5][5] = kAlive;
        form->board().Cells[40][2] = kAlive; // beyond the board: stays
        form->formState().StatsVisible = true;
        tick();
        QCOMPARE(control<ValueLabel>("Label5")->text(), QStringLiteral("1"));
        QTest::mouseClick(control("SpeedButton1"), Qt::LeftButton);
        QVERIFY(!form->board().isAlive(5, 5));
        QVERIFY(form->board().isAlive(40, 2));
        QCOMPARE(form->board().Generation, 0);
        QVERIFY(control<ValueLabel>("Label5")->text().isEmpty() &&
                control<ValueLabel>("Label10")->text().isEmpty());
        QCOMPARE(control<PopulationChart>("Chart1")->series().count(), 0);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"

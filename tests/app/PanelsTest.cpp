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

namespace {

// Where a slide leaves the panel below it: the brushes' opening pushes the figures panel down,
// and the statistics panel rides on the settings panel's bottom edge.
constexpr int kFiguresBelowOpenBrushes =
    kFiguresPanelAtStart.y() + kBrushesOpenHeight - kPanelStripHeight;
constexpr int kStatisticsBelowOpenSettings =
    kStatisticsPanelAtStart.y() + kSettingsOpenHeight - kSettingsPanelAtStart.height();
constexpr int kStatisticsBelowShutSettings =
    kStatisticsBelowOpenSettings - kSettingsOpenHeight + kSettingsShutHeight;
// The program's own figures.
static_assert(kPanelStripHeight == 15 && kBrushesOpenHeight == 121 && kFiguresOpenHeight == 137);
static_assert(kSettingsOpenHeight == 97 && kSettingsShutHeight == 0 &&
              kStatisticsOpenHeight == 265);
static_assert(kFiguresBelowOpenBrushes == 242 && kStatisticsBelowOpenSettings == 352 &&
              kStatisticsBelowShutSettings == 255);

} // namespace

class PanelsTest : public QObject, protected MainWindowUnderTest {
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(); }
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void hoveringOpensAndChoosingShutsTheStampPanels() {
        auto* brushes = control<QGroupBox>("GroupBox4");
        auto* figures = control<QGroupBox>("GroupBox5");
        sendMouse(brushes, QEvent::MouseMove, QPoint(60, 6));
        QCOMPARE(brushes->height(), kBrushesOpenHeight);
        QCOMPARE(figures->y(), kFiguresBelowOpenBrushes);
        sendMouse(figures, QEvent::MouseMove, QPoint(60, 6));
        QCOMPARE(figures->height(), kFiguresOpenHeight);
        QCOMPARE(brushes->height(), kBrushesOpenHeight); // opening one does not shut the other

        QTest::mouseClick(radioButton(6), Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(form->formState().StampKind, 6);
        QCOMPARE(brushes->height(), kPanelStripHeight);
        QCOMPARE(figures->y(), kFiguresPanelAtStart.y());
        QCOMPARE(figures->height(), kFiguresOpenHeight);
        QTest::mouseClick(radioButton(14), Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(figures->height(), kPanelStripHeight);
        QVERIFY(!radioButton(6)->isChecked());

        // Moves over a child, or reported beyond the shut strip, are not the panel's own.
        sendMouse(brushes, QEvent::MouseMove, QPoint(20, 30));
        QCOMPARE(brushes->height(), kPanelStripHeight);
        sendMouse(brushes, QEvent::MouseMove, QPoint(60, 6));
        sendMouse(brushes, QEvent::MouseMove, QPoint(20, 24)); // over "Один"
        QCOMPARE(brushes->height(), kBrushesOpenHeight);
    }

    void thePinOpensBothAndReleasesFiguresFirst() {
        auto* pin = control<QCheckBox>("CheckBox3");
        auto* brushes = control<QGroupBox>("GroupBox4");
        auto* figures = control<QGroupBox>("GroupBox5");
        QTest::mouseClick(pin, Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(pin->text(), QStringLiteral("Свернуть"));
        QCOMPARE(brushes->height(), kBrushesOpenHeight);
        QCOMPARE(figures->height(), kFiguresOpenHeight);
        QCOMPARE(figures->y(), kFiguresBelowOpenBrushes);
        QVERIFY(!form->formState().AutoCollapse);
        // While pinned, a choice leaves both panels open.
        QTest::mouseClick(radioButton(3), Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(brushes->height(), kBrushesOpenHeight);

        int brushHeightWhenFiguresStarted = -1;
        watcher.onResize = [&] {
            if (brushHeightWhenFiguresStarted < 0) {
                brushHeightWhenFiguresStarted = brushes->height();
            }
        };
        figures->installEventFilter(&watcher);
        QTest::mouseClick(pin, Qt::LeftButton, {}, QPoint(5, 8));
        figures->removeEventFilter(&watcher);
        QCOMPARE(brushHeightWhenFiguresStarted, kBrushesOpenHeight);
        QCOMPARE(pin->text(), QStringLiteral("Окрыть и зафиксировать"));
        QCOMPARE(brushes->height(), kPanelStripHeight);
        QCOMPARE(figures->height(), kPanelStripHeight);
        QCOMPARE(figures->y(), kFiguresPanelAtStart.y());
        QVERIFY(form->formState().AutoCollapse);
    }

    void settingsPanelPushesTheStatisticsPanel() {
        auto* fill = control<QCheckBox>("CheckBox2");
        auto* settings = control<QGroupBox>("GroupBox1");
        auto* statistics = control<QGroupBox>("GroupBox2");
        bool disabledMidSlide = false;
        QTimer::singleShot(0, form.get(), [&] { disabledMidSlide = !fill->isEnabled(); });
        QTest::mouseClick(fill, Qt::LeftButton, {}, QPoint(5, 12));
        QVERIFY(disabledMidSlide);
        QVERIFY(fill->isEnabled());
        QCOMPARE(settings->height(), kSettingsOpenHeight);
        QCOMPARE(statistics->y(), kStatisticsBelowOpenSettings);
        QTest::mouseClick(fill, Qt::LeftButton, {}, QPoint(5, 12));
        QCOMPARE(settings->height(), kSettingsShutHeight);
        QCOMPARE(statistics->y(), kStatisticsBelowShutSettings);
        QTest::mouseClick(fill, Qt::LeftButton, {}, QPoint(5, 12));
        QCOMPARE(statistics->y(), kStatisticsBelowOpenSettings);
    }

    void keysTypedDuringTheSettingsSlideGoNowhere() {
        auto* fill = control<QCheckBox>("CheckBox2");
        form->activateWindow();
        fill->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        const QString fillCount = control<QLineEdit>("Edit3")->text();
        // A Space in the middle of the slide, as a second press of the box's key would send.
        QTimer::singleShot(0, form.get(), [&] {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_5);
        });
        QTest::keyClick(fill, Qt::Key_Space);
        QCOMPARE(control<QGroupBox>("GroupBox1")->height(), kSettingsOpenHeight);
        QCOMPARE(control<QLineEdit>("Edit3")->text(), fillCount);
        QVERIFY(log.errors.isEmpty());
        QVERIFY(fill->hasFocus());
    }

    void statisticsPanelTogglesOnItsOwnSurfaceOnly() {
        auto* statistics = control<QGroupBox>("GroupBox2");
        clickStatisticsCaption();
        QCOMPARE(statistics->height(), kStatisticsOpenHeight);
        QCOMPARE(statistics->title(), QStringLiteral("C") + QStringLiteral("татистика"));
        QVERIFY(form->formState().StatsVisible);
        QTest::mouseClick(control("Label6"), Qt::LeftButton);
        QTest::mouseClick(control("Chart1"), Qt::LeftButton);
        QCOMPARE(statistics->height(), kStatisticsOpenHeight);
        clickStatisticsCaption();
        QCOMPARE(statistics->height(), kPanelStripHeight);
        QCOMPARE(statistics->title(), QStringLiteral("Показать статистику"));
        QVERIFY(!form->formState().StatsVisible);
    }

    void ticksRunInTheMiddleOfAnAnimatedSlide() {
        control<RunTimer>("Timer1")->setInterval(1);
        QTest::mouseClick(control("SpeedButton7"), Qt::LeftButton);
        const int before = form->board().Generation;
        clickStatisticsCaption();
        clickStatisticsCaption();
        QVERIFY(form->board().Generation > before);
    }

    void theWindowGrowsWhilePanelsReachBelowTheBoard() {
        auto* statistics = control<QGroupBox>("GroupBox2");
        QTest::mouseClick(control("SpeedButton11"), Qt::LeftButton); // 100x100: a 600-pixel board
        QCOMPARE(form->height(), 600);
        QTest::mouseClick(control("CheckBox2"), Qt::LeftButton, {}, QPoint(5, 12));
        clickStatisticsCaption();
        const int bottom = kStatisticsBelowOpenSettings + kStatisticsOpenHeight;
        QCOMPARE(statistics->geometry().bottom() + 1, bottom);
        QCOMPARE(form->height(), bottom);
        clickStatisticsCaption();
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

// The main window's sliding panels: the brush and figure panels, the pin, the settings panel
// and the statistics panel.
#include "TForm1.h"

#include "MainWindowLayout.h"
#include "PanelGeometry.h"
#include "PanelSlide.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>

namespace tivla {

void TForm1::pumpEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TForm1::ExpandBrushes() {
    PanelSlide(GroupBox4, kBrushesOpenHeight, +1).moving(GroupBox5).run();
}

void TForm1::ExpandFigures() {
    PanelSlide(GroupBox5, kFiguresOpenHeight, +1).run();
}

void TForm1::CollapseBrushes() {
    if (formState_.AutoCollapse) {
        PanelSlide(GroupBox4, kPanelStripHeight, -1)
            .moving(GroupBox5)
            .afterEachPass([this] { pumpEvents(); })
            .run();
    }
}

void TForm1::CollapseFigures() {
    if (formState_.AutoCollapse) {
        PanelSlide(GroupBox5, kPanelStripHeight, -1).afterEachPass([this] { pumpEvents(); }).run();
    }
}

void TForm1::GroupBox4MouseMove() {
    ExpandBrushes();
}

void TForm1::GroupBox5MouseMove() {
    ExpandFigures();
}

void TForm1::CheckBox3Click() {
    if (CheckBox3->isChecked()) {
        CheckBox3->setText(kPinPinnedCaption);
        ExpandBrushes();
        ExpandFigures();
        formState_.AutoCollapse = false;
    } else {
        CheckBox3->setText(kPinReleasedCaption);
        PanelSlide(GroupBox5, kPanelStripHeight, -1).afterEachPass([this] { pumpEvents(); }).run();
        PanelSlide(GroupBox4, kPanelStripHeight, -1)
            .moving(GroupBox5)
            .afterEachPass([this] { pumpEvents(); })
            .run();
        formState_.AutoCollapse = true;
    }
}

void TForm1::CheckBox2Click() {
    // Qt hands the focus of a widget being disabled to the next one in the chain, which would
    // put keys typed during the slide into the fill-count box; the window holds the focus
    // instead until the box is enabled again, as a disabled control keeps it on Windows.
    const bool hadFocus = CheckBox2->hasFocus();
    if (hadFocus) {
        setFocus(Qt::OtherFocusReason);
    }
    auto pass = [this] {
        CheckBox2->setEnabled(false);
        pumpEvents();
    };
    if (CheckBox2->isChecked()) {
        PanelSlide(GroupBox1, kSettingsOpenHeight, +1).moving(GroupBox2).afterEachPass(pass).run();
    } else {
        PanelSlide(GroupBox1, kSettingsShutHeight, -1).moving(GroupBox2).afterEachPass(pass).run();
    }
    CheckBox2->setEnabled(true);
    if (hadFocus && focusWidget() == this) {
        CheckBox2->setFocus(Qt::OtherFocusReason);
    }
}

void TForm1::GroupBox2Click() {
    auto pass = [this] { pumpEvents(); };
    if (GroupBox2->title() == kStatisticsShutCaption) {
        PanelSlide(GroupBox2, kStatisticsOpenHeight, +1).afterEachPass(pass).run();
    }
    if (GroupBox2->title() == kStatisticsOpenCaption) {
        PanelSlide(GroupBox2, kPanelStripHeight, -1).afterEachPass(pass).run();
    }
    if (GroupBox2->title() == kStatisticsShutCaption) {
        GroupBox2->setTitle(kStatisticsOpenCaption);
        formState_.StatsVisible = true;
    } else {
        GroupBox2->setTitle(kStatisticsShutCaption);
        formState_.StatsVisible = false;
    }
}

} // namespace tivla

// Builds the main window's controls; see MainWindowLayout.h.
#include "MainWindowLayout.h"

#include "Fonts.h"
#include "PanelGeometry.h"
#include "RunTimer.h"
#include "SpinEdit.h"
#include "TForm1.h"
#include "WindowColours.h"
#include "editing/StampCatalogue.h"
#include "engine/BoardSizes.h"
#include "files/CellSizes.h"
#include "view/PopulationChart.h"
#include "view/StringGrid.h"
#include "view/ValueLabel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

#include <initializer_list>
#include <string_view>
#include <vector>

namespace tivla {

namespace {

const QString kTahoma = QStringLiteral("Tahoma");
const QString kGeorgia = QStringLiteral("Georgia");
const QString kMsSansSerif = QStringLiteral("MS Sans Serif");
const QString kArial = QStringLiteral("Arial");

// Spelled as an alias: clang-format 14 and 19 space a pointer to member differently.
using ValueLabelField = ValueLabel* TForm1::*;

// The program's name for a control is its objectName(), by which tests and tools find it.
template <class Control> Control* named(Control* control, const char* name) {
    control->setObjectName(QLatin1String(name));
    return control;
}

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    // QPalette::Text stays: check marks are drawn in it on the white indicator.
    widget->setPalette(palette);
}

void style(QWidget* widget, const QString& family, int height, const QColor& colour,
           bool bold = false) {
    widget->setFont(windowsFont(family, height, bold));
    setTextColour(widget, colour);
}

QToolButton* flatButton(QWidget* parent, const QRect& geometry, const QString& text = {},
                        const QString& tooltip = {}, const QString& glyph = {}) {
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(geometry);
    button->setText(text);
    button->setToolTip(tooltip);
    if (!glyph.isEmpty()) {
        button->setIcon(QIcon(glyph));
        button->setIconSize(QImage(glyph).size());
        button->setToolButtonStyle(text.isEmpty() ? Qt::ToolButtonIconOnly
                                                  : Qt::ToolButtonTextBesideIcon);
    }
    return button;
}

QLabel* label(QWidget* parent, QPoint topLeft, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setFocusPolicy(Qt::NoFocus);
    l->move(topLeft);
    return l;
}

// A label "sized to its text", as the classic auto-size labels are.
void fitToText(QLabel* l) {
    l->adjustSize();
}

QLineEdit* edit(QWidget* parent, const QRect& geometry, const QString& text) {
    auto* e = new QLineEdit(text, parent);
    e->setGeometry(geometry);
    e->setFrame(true);
    e->setTextMargins(0, 0, 0, 0);
    e->setFont(windowsFont(kTahoma, -9));
    QPalette palette = e->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, kBlackColour);
    e->setPalette(palette);
    return e;
}

QRadioButton* radio(QWidget* parent, int number, const QRect& geometry, const QString& text) {
    auto* r = new QRadioButton(text, parent);
    r->setObjectName(QStringLiteral("RadioButton%1").arg(number));
    r->setGeometry(geometry);
    return r;
}

QGroupBox* panel(QWidget* parent, const QRect& geometry, const QString& title) {
    auto* box = new QGroupBox(title, parent);
    box->setGeometry(geometry);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

} // namespace

void MainWindowLayout::build(TForm1& form) {
    form.setFont(windowsFont(kTahoma, -9));
    QPalette palette = form.palette();
    palette.setColor(QPalette::Window, kWindowColour);
    palette.setColor(QPalette::Button, kWindowColour);
    palette.setColor(QPalette::WindowText, kWhiteColour);
    palette.setColor(QPalette::ButtonText, kWhiteColour);
    form.setPalette(palette);
    form.setAutoFillBackground(true);

    buildTitleArea(form);
    buildToolColumn(form);
    buildRunBoxes(form);
    buildStampPanels(form);
    buildSettingsPanel(form);
    buildStatisticsPanel(form);

    // The grid's own starting settings give the first board of the size table, with its lines.
    const int startSize = kBoardSizes.front();
    const int startCell = kCellSizes.front();
    form.StringGrid1 = named(new StringGrid(&form), "StringGrid1");
    form.StringGrid1->setColCount(startSize);
    form.StringGrid1->setRowCount(startSize);
    form.StringGrid1->setDefaultColWidth(startCell);
    form.StringGrid1->setDefaultRowHeight(startCell);
    form.StringGrid1->setGridLineWidth(1);
    const int side = startSize * (startCell + 1);
    form.StringGrid1->setGeometry(328, 0, side, side);
    style(form.StringGrid1, kArial, -13, kAliveColour);

    form.Timer1 = named(new RunTimer(&form), "Timer1");
    form.Timer1->setInterval(500);
    setTabOrder(form);
}

void MainWindowLayout::buildTitleArea(TForm1& form) {
    form.GroupBox3 = named(panel(&form, QRect(15, 8, 297, 49), QString()), "GroupBox3");
    form.SpeedButton2 =
        named(flatButton(form.GroupBox3, QRect(9, 16, 80, 25), QStringLiteral("О творце"),
                         QString(), QStringLiteral(":/assets/about.png")),
              "SpeedButton2");
    style(form.SpeedButton2, kGeorgia, 14, kCreamColour);
    form.Label11 = named(label(form.GroupBox3, QPoint(104, 8), QStringLiteral("Тивла")), "Label11");
    style(form.Label11, kTahoma, 30, kCreamColour);
    fitToText(form.Label11);
    form.SpeedButton5 = named(flatButton(form.GroupBox3, QRect(225, 16, 32, 25),
                                         QStringLiteral("_"), QStringLiteral("Свернуть")),
                              "SpeedButton5");
    style(form.SpeedButton5, kMsSansSerif, -21, kCreamColour, true);
    form.SpeedButton6 = named(flatButton(form.GroupBox3, QRect(257, 16, 33, 25),
                                         QStringLiteral("Х"), QStringLiteral("Выход")),
                              "SpeedButton6");
    style(form.SpeedButton6, kMsSansSerif, -21, kCreamColour, true);
}

void MainWindowLayout::buildToolColumn(TForm1& form) {
    // One button per entry of the size table, stacked from the top of the column.
    for (std::size_t i = 0; i < kBoardSizes.size(); ++i) {
        // The first caption has a capital X, as the program has it.
        const QString side = QString::number(kBoardSizes[i]);
        const QString caption = side + (i == 0 ? QLatin1Char('X') : QLatin1Char('x')) + side;
        const auto& [button, name] = TForm1::kSizeButtons[i];
        form.*button = named(
            flatButton(&form, QRect(0, 64 + 24 * static_cast<int>(i), 41, 22), caption), name);
    }

    const struct {
        TForm1::ToolButtonField button;
        const char* name;
        int left;
        int top;
        const char* tooltip;
        const char* glyph;
    } tools[] = {
        {&TForm1::SpeedButton1, "SpeedButton1", 48, 64, "Очистить", ":/assets/clear.png"},
        {&TForm1::SpeedButton7, "SpeedButton7", 72, 64, "Начать", ":/assets/start.png"},
        {&TForm1::SpeedButton18, "SpeedButton18", 72, 64, "Стоп", ":/assets/stop.png"},
        {&TForm1::SpeedButton3, "SpeedButton3", 48, 88, "Открыть", ":/assets/open.png"},
        {&TForm1::SpeedButton16, "SpeedButton16", 72, 88, "Вперед на n шагов",
         ":/assets/advance.png"},
        {&TForm1::SpeedButton8, "SpeedButton8", 48, 112, "Сохранить", ":/assets/save.png"},
        {&TForm1::SpeedButton15, "SpeedButton15", 72, 112, "На n поколение",
         ":/assets/advance-to.png"},
    };
    for (const auto& t : tools) {
        form.*t.button =
            named(flatButton(&form, QRect(t.left, t.top, 25, 25), QString(),
                             QString::fromUtf8(t.tooltip), QString::fromLatin1(t.glyph)),
                  t.name);
        style(form.*t.button, kGeorgia, 15, kWhiteColour);
    }
    form.SpeedButton18->hide();
    form.SpeedButton17 =
        named(flatButton(&form, QRect(48, 136, 49, 25), QStringLiteral("Снимок")), "SpeedButton17");
    style(form.SpeedButton17, kGeorgia, 15, kWhiteColour);

    form.CheckBox1 = named(new QCheckBox(kHideLinesCaption, &form), "CheckBox1");
    form.CheckBox1->setGeometry(56, 176, 121, 17);
    style(form.CheckBox1, kGeorgia, -11, kWhiteColour);
}

void MainWindowLayout::buildRunBoxes(TForm1& form) {
    form.Label12 = named(label(&form, QPoint(104, 72), QStringLiteral("Скорость")), "Label12");
    form.Edit1 = named(edit(&form, QRect(152, 64, 33, 19), QStringLiteral("500")), "Edit1");
    form.Label3 = named(label(&form, QPoint(136, 96), QStringLiteral("n=")), "Label3");
    form.Edit2 = named(edit(&form, QRect(152, 88, 33, 19), QStringLiteral("1")), "Edit2");
    form.Label13 = named(label(&form, QPoint(136, 120), QStringLiteral("n=")), "Label13");
    form.Edit3 = named(edit(&form, QRect(152, 112, 33, 19), QStringLiteral("2")), "Edit3");
    for (QLabel* l : {form.Label12, form.Label3, form.Label13}) {
        fitToText(l);
    }

    form.RadioButtons[19] = radio(&form, 19, QRect(192, 64, 65, 17), QStringLiteral("Тыкать"));
    form.RadioButtons[20] = radio(&form, 20, QRect(256, 64, 57, 17), QStringLiteral("Рисовать"));
    form.RadioButtons[19]->setChecked(true);
    form.CheckBox3 = named(new QCheckBox(kPinReleasedCaption, &form), "CheckBox3");
    form.CheckBox3->setGeometry(192, 80, 129, 17);
}

void MainWindowLayout::buildStampPanels(TForm1& form) {
    // Where each stamp's button sits in its panel, row by row; the captions are the stamps'.
    struct Place {
        int kind;
        QRect geometry;
    };
    const auto stampButtons = [&form](QGroupBox* panel, std::initializer_list<Place> places) {
        for (const Place& place : places) {
            const Stamp& stamp = kStampCatalogue[static_cast<std::size_t>(place.kind - 1)];
            form.RadioButtons[stamp.radioButton] =
                radio(panel, stamp.radioButton, place.geometry, utf8(stamp.caption));
        }
    };
    form.GroupBox4 =
        named(panel(&form, kBrushesPanelAtStart, utf8(kBrushPanelCaption)), "GroupBox4");
    stampButtons(form.GroupBox4, {{1, {8, 16, 49, 17}},
                                  {7, {56, 16, 57, 17}},
                                  {8, {8, 32, 49, 17}},
                                  {6, {56, 32, 57, 17}},
                                  {5, {8, 48, 57, 17}},
                                  {4, {56, 48, 57, 17}},
                                  {2, {8, 64, 49, 17}},
                                  {3, {56, 64, 41, 17}},
                                  {11, {8, 80, 57, 17}},
                                  {10, {56, 80, 49, 17}},
                                  {9, {8, 96, 65, 17}}});
    form.RadioButtons[11]->setFont(windowsFont(kTahoma, 12));

    form.GroupBox5 =
        named(panel(&form, kFiguresPanelAtStart, utf8(kFigurePanelCaption)), "GroupBox5");
    stampButtons(form.GroupBox5, {{18, {8, 16, 97, 17}},
                                  {17, {8, 32, 97, 17}},
                                  {16, {8, 48, 105, 17}},
                                  {15, {8, 64, 97, 17}},
                                  {14, {8, 80, 97, 17}},
                                  {13, {8, 96, 105, 17}},
                                  {12, {8, 112, 105, 17}}});
}

void MainWindowLayout::buildSettingsPanel(TForm1& form) {
    form.CheckBox2 =
        named(new QCheckBox(QStringLiteral("Заполнить автоматически"), &form), "CheckBox2");
    form.CheckBox2->setGeometry(8, 216, 177, 25);
    style(form.CheckBox2, kGeorgia, -11, kCreamColour);

    form.GroupBox1 =
        named(panel(&form, kSettingsPanelAtStart, QStringLiteral("Настройки")), "GroupBox1");
    style(form.GroupBox1, kGeorgia, -11, kWhiteColour);
    form.Label1 =
        named(label(form.GroupBox1, QPoint(8, 16), QStringLiteral("Количество ячеек")), "Label1");
    fitToText(form.Label1);
    form.SpinEdit1 = named(new SpinEdit(form.GroupBox1), "SpinEdit1");
    form.SpinEdit1->setGeometry(13, 35, 52, 23);
    form.SpinEdit1->setFont(windowsFont(kGeorgia, -11));
    QPalette palette = form.SpinEdit1->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, kBlackColour);
    form.SpinEdit1->setPalette(palette);
    form.SpeedButton4 =
        named(flatButton(form.GroupBox1, QRect(8, 64, 105, 25), QStringLiteral("Заполнить"),
                         QString(), QStringLiteral(":/assets/fill.png")),
              "SpeedButton4");
    form.SpeedButton4->setCursor(Qt::PointingHandCursor);
}

void MainWindowLayout::buildStatisticsPanel(TForm1& form) {
    form.GroupBox2 =
        named(panel(&form, kStatisticsPanelAtStart, kStatisticsShutCaption), "GroupBox2");
    style(form.GroupBox2, kGeorgia, 12, kWhiteColour);
    form.Label6 =
        named(label(form.GroupBox2, QPoint(32, 16), QStringLiteral("Поколение")), "Label6");
    form.Label4 =
        named(label(form.GroupBox2, QPoint(8, 32), QStringLiteral("Колво бактерий")), "Label4");
    form.Label7 =
        named(label(form.GroupBox2, QPoint(24, 48), QStringLiteral("В процентах")), "Label7");
    form.Label9 =
        named(label(form.GroupBox2, QPoint(32, 64), QStringLiteral("Max колво")), "Label9");
    for (QLabel* l : {form.Label6, form.Label4, form.Label7, form.Label9}) {
        fitToText(l);
    }
    const struct {
        ValueLabelField label;
        const char* name;
        QPoint topLeft;
        QString text;
    } values[] = {
        {&TForm1::Label5, "Label5", {90, 16}, QString()},
        {&TForm1::Label2, "Label2", {90, 32}, QString()},
        {&TForm1::Label8, "Label8", {88, 48}, QString()},
        {&TForm1::Label10, "Label10", {89, 64}, QString(10, QLatin1Char(' '))},
    };
    for (const auto& v : values) {
        auto* l = named(new ValueLabel(form.GroupBox2), v.name);
        l->move(v.topLeft);
        l->setText(v.text);
        form.*v.label = l;
    }
    form.Chart1 = named(new PopulationChart(form.GroupBox2), "Chart1");
    form.Chart1->setGeometry(8, 80, 169, 177);
}

void MainWindowLayout::setTabOrder(TForm1& form) {
    // Buttons and labels take no focus; the panels pass it to their children. Every radio
    // button stands in the chain at its group's place (TForm1::focusNextPrevChild makes each
    // group one stop).
    const auto radios = [&form](int first, int last) {
        std::vector<QRadioButton*> group;
        for (int k = first; k <= last; ++k) {
            group.push_back(form.RadioButtons[k]);
        }
        return group;
    };
    const std::vector<QRadioButton*> brushes = radios(1, 11);
    const std::vector<QRadioButton*> pair = radios(19, 20);
    const std::vector<QRadioButton*> figures = radios(12, 18);
    std::vector<QWidget*> chain = {form.CheckBox1, form.SpinEdit1, form.StringGrid1};
    chain.insert(chain.end(), brushes.begin(), brushes.end());
    chain.insert(chain.end(), {form.Edit1, form.Edit2});
    chain.insert(chain.end(), pair.begin(), pair.end());
    chain.insert(chain.end(), figures.begin(), figures.end());
    chain.insert(chain.end(), {form.CheckBox3, form.CheckBox2, form.Edit3});
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        QWidget::setTabOrder(chain[i], chain[i + 1]);
    }
}

} // namespace tivla

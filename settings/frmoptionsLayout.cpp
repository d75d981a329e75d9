// The dialog's controls at their positions. Positions stay in twips, as the
// layout was drawn; they become pixels only here.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QValidator>

#include "platform/core/Twips.h"
#include "settings/BannerView.h"
#include "settings/ColourSwatch.h"
#include "settings/core/ProgramVariables.h"
#include "settings/frmoptions.h"

namespace kuvell {

namespace {

struct TwipsRect
{
    int left;
    int top;
    int width;
    int height;
};

template <typename Widget>
Widget* Place(Widget* widget, const char* name, TwipsRect rect)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(TwipsToPixels(rect.left), TwipsToPixels(rect.top),
                        TwipsToPixels(rect.width), TwipsToPixels(rect.height));
    return widget;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, TwipsRect rect)
{
    auto* label = Place(new QLabel(text, parent), name, rect);
    // Captions and stored texts are shown as written, never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, TwipsRect rect)
{
    auto* button = Place(new QPushButton(text, parent), name, rect);
    // No button is the default: Return in a text box must not press one.
    button->setAutoDefault(false);
    return button;
}

// The pages and two of the check boxes wear the colour the desktop gives the
// frame of an active window; of Qt's palette roles the button face is the one
// that colour matches.
void PaintInBorderColour(QWidget* widget)
{
    widget->setBackgroundRole(QPalette::Button);
    widget->setAutoFillBackground(true);
}

// Combo1's text is free to type in, but only a pick from the list may select an
// item: a typed text never counts as finished input, so leaving the box or
// pressing Return with, say, "50 %" typed selects nothing.
class TypedTextNeverSelects : public QValidator
{
  public:
    using QValidator::QValidator;
    State validate(QString&, int&) const override { return Intermediate; }
};

const char* const kTransparencyItems[] = {"10 %", "20 %", "30 %", "40 %", "50 %",
                                          "60 %", "70 %", "80 %", "90 %", "100 %"};

const char kAboutText[] = "Kuvell：小巧的网络流量监视器";

const char kHelpText[] =
    "Kuvell 每秒显示一次下载和上传速率及流量图。\n"
    "• 双击通知区域图标：隐藏或显示窗口。\n"
    "• 右键单击图形：菜单 Inställningar（设置）、Avsluta（退出）。\n"
    "• 按住图形或文字拖动：移动窗口。\n"
    "• 拖动窗口边缘：改变大小。";

}  // namespace

void frmoptions::BuildControls()
{
    const char* const buttonNames[] = {"Command2_0", "Command2_1", "Command2_2", "Command2_3"};
    const char* const buttonCaptions[] = {"设 置", "流 量", "关 于", "帮 助"};
    for (int index = 0; index < 4; ++index) {
        Command2[index] =
            MakeButton(this, buttonNames[index], QString::fromUtf8(buttonCaptions[index]),
                       {1120 * index, 0, 1095, 375});
        connect(Command2[index], &QPushButton::clicked, this,
                [this, index] { Command2_Click(index); });
    }
    Command1 = MakeButton(this, "Command1", QStringLiteral("好的"), {3240, 3000, 1035, 330});
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    const char* const pageNames[] = {"Picture1", "Picture2", "Picture3", "Picture4"};
    const TwipsRect pageRects[] = {
        {0, 360, 4455, 2655}, {0, 360, 4455, 2295}, {0, 360, 4455, 2655}, {0, 480, 4455, 2535}};
    for (int index = 0; index < 4; ++index) {
        pages_[index] = Place(new QWidget(this), pageNames[index], pageRects[index]);
        PaintInBorderColour(pages_[index]);
        pages_[index]->setVisible(index == 0);
    }
    BuildSettingsPage();
    BuildTrafficPage();
    BuildAboutPage();
    BuildHelpPage();
}

void frmoptions::BuildSettingsPage()
{
    QWidget* const page = pages_[0];

    auto* frame1 =
        Place(new QGroupBox(QStringLiteral("连接速度"), page), "Frame1", {60, 60, 2355, 1695});
    Text1 = Place(new QLineEdit(frame1), "Text1", {120, 300, 1155, 315});
    Text1->setStyleSheet(
        QStringLiteral("QLineEdit[invalidInput=\"true\"] { border: 2px solid #c00000; }"));
    connect(Text1, &QLineEdit::textEdited, this, [this] { MarkSpeedField(false); });
    MakeLabel(frame1, "Label10", QStringLiteral("单位  K"), {1320, 360, 735, 255});
    MakeLabel(frame1, "Label1", QStringLiteral("拨号连接速度为56000K ADSL连接速度为1-8MB"),
              {120, 720, 1935, 435});
    Text3 = Place(new QLineEdit(frame1), "Text3", {120, 1200, 1215, 315});
    Command3 = MakeButton(frame1, "Command3", QStringLiteral("计算MB"), {1320, 1200, 855, 375});
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });

    auto* frame2 =
        Place(new QGroupBox(QStringLiteral("显示颜色"), page), "Frame2", {2520, 60, 1875, 1695});
    const char* const swatchNames[] = {"Picture5", "Picture6", "Picture7"};
    const char* const labelNames[] = {"Label2", "Label3", "Label4"};
    const char* const labelCaptions[] = {"下载", "上传", "背景"};
    const int labelWidths[] = {1035, 1155, 1095};
    const SwatchBinding bindings[] = {{nullptr, &ProgramVariables::DLColor, "dlcolor", false},
                                      {nullptr, &ProgramVariables::ULColor, "ulcolor", false},
                                      {nullptr, &ProgramVariables::BGColor, "bgcolor", true}};
    for (int index = 0; index < 3; ++index) {
        swatches_[index] = bindings[index];
        swatches_[index].swatch =
            Place(new ColourSwatch(frame2), swatchNames[index], {180, 240 + 360 * index, 315, 315});
        connect(swatches_[index].swatch, &ColourSwatch::clicked, this,
                [this, index] { Swatch_Click(swatches_[index]); });
        MakeLabel(frame2, labelNames[index], QString::fromUtf8(labelCaptions[index]),
                  {660, 300 + 360 * index, labelWidths[index], 195});
    }

    Check1 =
        Place(new QCheckBox(QStringLiteral("总在最前面"), page), "Check1", {120, 1800, 1815, 255});
    PaintInBorderColour(Check1);
    Check3 =
        Place(new QCheckBox(QStringLiteral("显示总流量"), page), "Check3", {120, 2040, 2175, 255});
    Check2 =
        Place(new QCheckBox(QStringLiteral("随系统启动"), page), "Check2", {120, 2280, 2295, 255});
    PaintInBorderColour(Check2);
    connect(Check2, &QCheckBox::clicked, this, [this] { Check2_Click(); });

    MakeLabel(page, "Label8", QStringLiteral("选择透明度"), {2520, 1800, 1455, 255});
    Combo1 = Place(new QComboBox(page), "Combo1", {2520, 2040, 1815, 315});
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCompleter(nullptr);
    Combo1->lineEdit()->setValidator(new TypedTextNeverSelects(Combo1));
    for (const char* item : kTransparencyItems) {
        Combo1->addItem(QString::fromUtf8(item));
    }
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QStringLiteral("Transparency"));
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
}

void frmoptions::BuildTrafficPage()
{
    QWidget* const page = pages_[1];
    Label9 = MakeLabel(page, "Label9", QString(), {120, 120, 4215, 255});
    auto* frame3 =
        Place(new QGroupBox(QStringLiteral("下载数据"), page), "Frame3", {60, 360, 2115, 1695});
    Label5 = MakeLabel(frame3, "Label5", QString(), {120, 480, 1935, 735});
    auto* frame4 =
        Place(new QGroupBox(QStringLiteral("上传数据"), page), "Frame4", {2275, 360, 2175, 1695});
    Label6 = MakeLabel(frame4, "Label6", QString(), {120, 480, 1935, 735});
}

void frmoptions::BuildAboutPage()
{
    QWidget* const page = pages_[2];
    Picture8 = Place(new BannerView(page), "Picture8", {300, 0, 3810, 1965});
    MakeLabel(page, "Label7", QString::fromUtf8(kAboutText), {360, 1980, 2715, 255});
}

void frmoptions::BuildHelpPage()
{
    auto* text2 = Place(new QPlainTextEdit(QString::fromUtf8(kHelpText), pages_[3]), "Text2",
                        {120, 0, 4215, 1815});
    text2->setReadOnly(true);
}

}  // namespace kuvell

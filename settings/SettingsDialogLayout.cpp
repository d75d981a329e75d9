// SPDX-License-Identifier: MIT
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
#include "settings/SettingsDialog.h"
#include "settings/core/ProgramVariables.h"

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
Widget* place(Widget* widget, const char* name, TwipsRect rect)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(twipsToPixels(rect.left), twipsToPixels(rect.top),
                        twipsToPixels(rect.width), twipsToPixels(rect.height));
    return widget;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, TwipsRect rect)
{
    auto* label = place(new QLabel(text, parent), name, rect);
    // Captions and stored texts are shown as written, never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, TwipsRect rect)
{
    auto* button = place(new QPushButton(text, parent), name, rect);
    // No button is the default: Return in a text box must not press one.
    button->setAutoDefault(false);
    return button;
}

// The pages and two of the check boxes wear the colour the desktop gives the
// frame of an active window; of Qt's palette roles the button face is the one
// that colour matches.
void paintInBorderColour(QWidget* widget)
{
    widget->setBackgroundRole(QPalette::Button);
    widget->setAutoFillBackground(true);
}

// opacityBox_'s text is free to type in, but only a pick from the list may select an
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

void SettingsDialog::buildControls()
{
    const char* const buttonNames[] = {"Command2_0", "Command2_1", "Command2_2", "Command2_3"};
    const char* const buttonCaptions[] = {"设 置", "流 量", "关 于", "帮 助"};
    for (int index = 0; index < 4; ++index) {
        pageButtons_[index] =
            makeButton(this, buttonNames[index], QString::fromUtf8(buttonCaptions[index]),
                       {1120 * index, 0, 1095, 375});
        connect(pageButtons_[index], &QPushButton::clicked, this,
                [this, index] { presenter_.pageChosen(index); });
    }
    okButton_ = makeButton(this, "Command1", QStringLiteral("好的"), {3240, 3000, 1035, 330});
    connect(okButton_, &QPushButton::clicked, this, [this] { presenter_.okClicked(); });

    const char* const pageNames[] = {"Picture1", "Picture2", "Picture3", "Picture4"};
    const TwipsRect pageRects[] = {
        {0, 360, 4455, 2655}, {0, 360, 4455, 2295}, {0, 360, 4455, 2655}, {0, 480, 4455, 2535}};
    for (int index = 0; index < 4; ++index) {
        pages_[index] = place(new QWidget(this), pageNames[index], pageRects[index]);
        paintInBorderColour(pages_[index]);
        pages_[index]->setVisible(index == 0);
    }
    buildSettingsPage();
    buildTrafficPage();
    buildAboutPage();
    buildHelpPage();
}

void SettingsDialog::buildSettingsPage()
{
    QWidget* const page = pages_[0];

    auto* frame1 =
        place(new QGroupBox(QStringLiteral("连接速度"), page), "Frame1", {60, 60, 2355, 1695});
    speedField_ = place(new QLineEdit(frame1), "Text1", {120, 300, 1155, 315});
    speedField_->setStyleSheet(
        QStringLiteral("QLineEdit[invalidInput=\"true\"] { border: 2px solid #c00000; }"));
    connect(speedField_, &QLineEdit::textEdited, this, [this] { presenter_.speedEdited(); });
    makeLabel(frame1, "Label10", QStringLiteral("单位  K"), {1320, 360, 735, 255});
    makeLabel(frame1, "Label1", QStringLiteral("拨号连接速度为56000K ADSL连接速度为1-8MB"),
              {120, 720, 1935, 435});
    megabytesField_ = place(new QLineEdit(frame1), "Text3", {120, 1200, 1215, 315});
    megabytesButton_ =
        makeButton(frame1, "Command3", QStringLiteral("计算MB"), {1320, 1200, 855, 375});
    connect(megabytesButton_, &QPushButton::clicked, this,
            [this] { presenter_.megabytesClicked(); });

    auto* frame2 =
        place(new QGroupBox(QStringLiteral("显示颜色"), page), "Frame2", {2520, 60, 1875, 1695});
    const char* const swatchNames[] = {"Picture5", "Picture6", "Picture7"};
    const char* const labelNames[] = {"Label2", "Label3", "Label4"};
    const char* const labelCaptions[] = {"下载", "上传", "背景"};
    const int labelWidths[] = {1035, 1155, 1095};
    for (int index = 0; index < 3; ++index) {
        swatches_[index] =
            place(new ColourSwatch(frame2), swatchNames[index], {180, 240 + 360 * index, 315, 315});
        connect(swatches_[index], &ColourSwatch::clicked, this,
                [this, index] { presenter_.swatchClicked(static_cast<Swatch>(index)); });
        makeLabel(frame2, labelNames[index], QString::fromUtf8(labelCaptions[index]),
                  {660, 300 + 360 * index, labelWidths[index], 195});
    }

    onTopBox_ =
        place(new QCheckBox(QStringLiteral("总在最前面"), page), "Check1", {120, 1800, 1815, 255});
    paintInBorderColour(onTopBox_);
    graphOnlyBox_ =
        place(new QCheckBox(QStringLiteral("显示总流量"), page), "Check3", {120, 2040, 2175, 255});
    startAtLoginBox_ =
        place(new QCheckBox(QStringLiteral("随系统启动"), page), "Check2", {120, 2280, 2295, 255});
    paintInBorderColour(startAtLoginBox_);
    connect(startAtLoginBox_, &QCheckBox::clicked, this,
            [this] { presenter_.startAtLoginClicked(); });

    makeLabel(page, "Label8", QStringLiteral("选择透明度"), {2520, 1800, 1455, 255});
    opacityBox_ = place(new QComboBox(page), "Combo1", {2520, 2040, 1815, 315});
    opacityBox_->setEditable(true);
    opacityBox_->setInsertPolicy(QComboBox::NoInsert);
    opacityBox_->setCompleter(nullptr);
    opacityBox_->lineEdit()->setValidator(new TypedTextNeverSelects(opacityBox_));
    for (const char* item : kTransparencyItems) {
        opacityBox_->addItem(QString::fromUtf8(item));
    }
    opacityBox_->setCurrentIndex(-1);
    opacityBox_->setEditText(QStringLiteral("Transparency"));
    connect(opacityBox_, &QComboBox::activated, this,
            [this] { presenter_.transparencyChosen(true); });
}

void SettingsDialog::buildTrafficPage()
{
    QWidget* const page = pages_[1];
    installDateLabel_ = makeLabel(page, "Label9", QString(), {120, 120, 4215, 255});
    auto* frame3 =
        place(new QGroupBox(QStringLiteral("下载数据"), page), "Frame3", {60, 360, 2115, 1695});
    downloadTotalLabel_ = makeLabel(frame3, "Label5", QString(), {120, 480, 1935, 735});
    auto* frame4 =
        place(new QGroupBox(QStringLiteral("上传数据"), page), "Frame4", {2275, 360, 2175, 1695});
    uploadTotalLabel_ = makeLabel(frame4, "Label6", QString(), {120, 480, 1935, 735});
}

void SettingsDialog::buildAboutPage()
{
    QWidget* const page = pages_[2];
    bannerView_ = place(new BannerView(page), "Picture8", {300, 0, 3810, 1965});
    makeLabel(page, "Label7", QString::fromUtf8(kAboutText), {360, 1980, 2715, 255});
}

void SettingsDialog::buildHelpPage()
{
    auto* helpText = place(new QPlainTextEdit(QString::fromUtf8(kHelpText), pages_[3]), "Text2",
                           {120, 0, 4215, 1815});
    helpText->setReadOnly(true);
}

}  // namespace kuvell

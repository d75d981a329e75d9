// SPDX-License-Identifier: MIT
// The dialog's controls, built from the control table. Positions stay in
// twips, as the layout was drawn; they become pixels only here.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QValidator>
#include <map>
#include <string_view>

#include "frontends/qt/BannerView.h"
#include "frontends/qt/ColourSwatch.h"
#include "frontends/qt/QtText.h"
#include "frontends/qt/SettingsDialog.h"
#include "platform/core/Twips.h"
#include "settings/core/DialogControls.h"

namespace kuvell {

namespace {

QLabel* makeLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    // Captions and stored texts are shown as written, never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

QPushButton* makeButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
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

// The transparency box's text is free to type in, but only a pick from the
// list may select an item: a typed text never counts as finished input, so
// leaving the box or pressing Return with, say, "50 %" typed selects nothing.
class TypedTextNeverSelects : public QValidator
{
  public:
    using QValidator::QValidator;
    State validate(QString&, int&) const override { return Intermediate; }
};

QComboBox* makeTransparencyBox(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->lineEdit()->setValidator(new TypedTextNeverSelects(box));
    for (const std::string_view item : kTransparencyItems) {
        box->addItem(qText(item));
    }
    box->setCurrentIndex(-1);
    box->setEditText(qText(kTransparencyPrompt));
    return box;
}

QWidget* makeControl(const DialogControl& control, QWidget* parent)
{
    const QString caption = qText(control.caption);
    switch (control.kind) {
        case ControlKind::Button:
            return makeButton(caption, parent);
        case ControlKind::Page:
            return new QWidget(parent);
        case ControlKind::Frame:
            return new QGroupBox(caption, parent);
        case ControlKind::TextBox:
            return new QLineEdit(parent);
        case ControlKind::Label:
            return makeLabel(caption, parent);
        case ControlKind::CheckBox:
            return new QCheckBox(caption, parent);
        case ControlKind::ComboBox:
            return makeTransparencyBox(parent);
        case ControlKind::ColourSwatch:
            return new ColourSwatch(parent);
        case ControlKind::Banner:
            return new BannerView(parent);
        case ControlKind::HelpText:
            break;
    }
    auto* text = new QPlainTextEdit(caption, parent);
    text->setReadOnly(true);
    return text;
}

}  // namespace

void SettingsDialog::buildControls()
{
    std::map<std::string_view, QWidget*> built;
    for (const DialogControl& control : dialogControls()) {
        QWidget* const parent = control.container.empty() ? this : built.at(control.container);
        QWidget* const widget = makeControl(control, parent);
        widget->setObjectName(qText(control.name));
        widget->setGeometry(twipsToPixels(control.rect.left), twipsToPixels(control.rect.top),
                            twipsToPixels(control.rect.width), twipsToPixels(control.rect.height));
        if (control.borderColour) {
            paintInBorderColour(widget);
        }
        built[control.name] = widget;
    }
    const auto named = [&built]<typename Widget>(std::string_view name, Widget*& member) {
        member = static_cast<Widget*>(built.at(name));
    };
    for (std::size_t index = 0; index < pages_.size(); ++index) {
        named(kPageNames[index], pages_[index]);
        pages_[index]->setVisible(index == 0);
        named(kPageButtonNames[index], pageButtons_[index]);
        connect(pageButtons_[index], &QPushButton::clicked, this,
                [this, index] { presenter_.pageChosen(static_cast<int>(index)); });
    }
    named("Command1", okButton_);
    connect(okButton_, &QPushButton::clicked, this, [this] { presenter_.okClicked(); });

    named("Text1", speedField_);
    speedField_->setStyleSheet(
        QStringLiteral("QLineEdit[invalidInput=\"true\"] { border: 2px solid #c00000; }"));
    connect(speedField_, &QLineEdit::textEdited, this, [this] { presenter_.speedEdited(); });
    named("Text3", megabytesField_);
    named("Command3", megabytesButton_);
    connect(megabytesButton_, &QPushButton::clicked, this,
            [this] { presenter_.megabytesClicked(); });

    for (std::size_t index = 0; index < swatches_.size(); ++index) {
        named(kSwatchNames[index], swatches_[index]);
        connect(swatches_[index], &ColourSwatch::clicked, this,
                [this, index] { presenter_.swatchClicked(static_cast<Swatch>(index)); });
    }
    named("Check1", onTopBox_);
    named("Check3", graphOnlyBox_);
    named("Check2", startAtLoginBox_);
    connect(startAtLoginBox_, &QCheckBox::clicked, this,
            [this] { presenter_.startAtLoginClicked(); });
    named("Combo1", opacityBox_);
    connect(opacityBox_, &QComboBox::activated, this,
            [this] { presenter_.transparencyChosen(true); });

    named("Label9", installDateLabel_);
    named("Label5", downloadTotalLabel_);
    named("Label6", uploadTotalLabel_);
    named("Picture8", bannerView_);
}

}  // namespace kuvell

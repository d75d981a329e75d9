// SPDX-License-Identifier: MIT
#include "frontends/qt/WindowRoutines.h"

#include <QLineEdit>
#include <QValidator>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "platform/core/Twips.h"

namespace kuvell {
namespace {

// ASCII digits only, so whatever reaches the box (typed, pasted or dropped) reads
// back as a plain decimal number. An empty box stays allowed, as when the user
// deletes everything before typing a new value.
class DigitsOnlyValidator final : public QValidator
{
  public:
    using QValidator::QValidator;

    State validate(QString& input, int& /*cursor*/) const override
    {
        const bool digitsOnly = std::all_of(input.cbegin(), input.cend(),
                                            [](QChar c) { return c >= u'0' && c <= u'9'; });
        return digitsOnly ? Acceptable : Invalid;
    }
};

}  // namespace
void placeInBand(QWidget* window, bool topMost, int32_t left, int32_t top, int32_t width,
                 int32_t height)
{
    if (window == nullptr) {
        return;
    }
    QWidget* topLevel = window->window();
    // QWidget::setWindowFlags would hide the window, so the widget's record is
    // changed alone and the native window told directly. The record comes first:
    // a native window made from it starts in the band, and Qt need not replace
    // it (losing what else was set on it) at its first show.
    topLevel->overrideWindowFlags(
        topLevel->windowFlags().setFlag(Qt::WindowStaysOnTopHint, topMost));
    // The hint has to reach a native window, which does not exist before the first show.
    topLevel->winId();
    topLevel->windowHandle()->setFlag(Qt::WindowStaysOnTopHint, topMost);

    // The rectangle is the outer one, frame included; move() already places the
    // frame, and the client area is what remains inside the frame.
    const QSize frame = topLevel->frameGeometry().size() - topLevel->size();
    topLevel->move(twipsToPixels(left), twipsToPixels(top));
    topLevel->resize(std::max(0, twipsToPixels(width) - frame.width()),
                     std::max(0, twipsToPixels(height) - frame.height()));
    if (topLevel->isVisible()) {
        topLevel->raise();
        topLevel->activateWindow();
    }
}

void setTopMostWhereItIs(QWidget* window, bool topMost)
{
    if (window == nullptr) {
        return;
    }
    // The routines take the outer rectangle, so the window stays where it is.
    const QRect outer = window->frameGeometry();
    const auto twips = [](int pixels) { return static_cast<int32_t>(pixelsToTwips(pixels)); };
    placeInBand(window, topMost, twips(outer.left()), twips(outer.top()), twips(outer.width()),
                twips(outer.height()));
}

bool isTopMost(const QWidget* window)
{
    if (window == nullptr) {
        return false;
    }
    const QWindow* handle = window->window()->windowHandle();
    return handle != nullptr && handle->flags().testFlag(Qt::WindowStaysOnTopHint);
}

void setNumbersOnly(QLineEdit* textBox, int16_t enable)
{
    if (textBox == nullptr) {
        return;
    }
    // Only our own validator is ever replaced or removed; another one set on the
    // box by its owner stays untouched when the digits-only input is switched off.
    const auto* current = dynamic_cast<const DigitsOnlyValidator*>(textBox->validator());
    if (enable != 0) {
        if (current == nullptr) {
            textBox->setValidator(new DigitsOnlyValidator(textBox));
        }
    } else if (current != nullptr) {
        textBox->setValidator(nullptr);
        delete current;
    }
    textBox->update();
}

}  // namespace kuvell

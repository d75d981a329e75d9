// SPDX-License-Identifier: MIT
#include "frontends/qt/WindowRoutines.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QIntValidator>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace kuvell {
namespace {

constexpr Qt::WindowFlags kMainWindowFlags = Qt::FramelessWindowHint | Qt::Tool;

TEST(MakeTopMost, WorksBeforeTheFirstShowAndNeverShowsTheWindow)
{
    QWidget window(nullptr, kMainWindowFlags);
    ASSERT_EQ(window.windowHandle(), nullptr);
    placeInBand(&window, true, 150, 300, 4650, 2460);
    EXPECT_TRUE(isTopMost(&window));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.geometry(), QRect(10, 20, 310, 164));

    // The band survives the first show and a hide/show cycle.
    window.show();
    EXPECT_TRUE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    window.hide();
    window.show();
    EXPECT_TRUE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(isTopMost(&window));
}

TEST(MakeTopMost, KeepsVisibleWindowsVisibleAndHiddenOnesHidden)
{
    QWidget shown(nullptr, kMainWindowFlags);
    shown.show();
    placeInBand(&shown, true, 0, 0, 4650, 2460);
    EXPECT_TRUE(shown.isVisible());
    EXPECT_TRUE(isTopMost(&shown));
    placeInBand(&shown, false, 0, 0, 4650, 2460);
    EXPECT_TRUE(shown.isVisible());
    EXPECT_FALSE(isTopMost(&shown));
    EXPECT_FALSE(shown.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));

    QWidget hidden(nullptr, kMainWindowFlags);
    hidden.show();
    hidden.hide();
    placeInBand(&hidden, true, 0, 0, 4650, 2460);
    EXPECT_FALSE(hidden.isVisible());
    placeInBand(&hidden, false, 0, 0, 4650, 2460);
    EXPECT_FALSE(hidden.isVisible());
    EXPECT_FALSE(isTopMost(&hidden));
}

TEST(MakeTopMost, PlacesTheRectangleInRoundedPixels)
{
    QWidget window(nullptr, kMainWindowFlags);
    window.show();
    // 22 twips ask for one pixel (the main window's own bounds raise it later).
    placeInBand(&window, true, 7, 8, 22, 23);
    EXPECT_EQ(window.geometry(), QRect(0, 1, 1, 2));
    placeInBand(&window, false, -37, 37, 4650, 150000);
    EXPECT_EQ(window.geometry(), QRect(-2, 2, 310, 10000));
    // A negative size asks for an empty window, not for a wrapped-around huge one.
    placeInBand(&window, true, 0, 0, -150, -150);
    EXPECT_EQ(window.size(), QSize(0, 0));
}

TEST(MakeTopMost, TheRectangleOfAFramedWindowIncludesItsFrame)
{
    QDialog dialog;
    dialog.show();
    placeInBand(&dialog, true, 1500, 1500, 3000, 4500);
    EXPECT_EQ(dialog.frameGeometry(), QRect(100, 100, 200, 300));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(isTopMost(&dialog));
}

TEST(MakeTopMost, ActsOnTheTopLevelWindowAndToleratesNoWindow)
{
    QWidget window(nullptr, kMainWindowFlags);
    auto* child = new QWidget(&window);
    child->setGeometry(5, 5, 20, 20);
    placeInBand(child, true, 150, 150, 1500, 1500);
    EXPECT_TRUE(isTopMost(&window));
    EXPECT_TRUE(isTopMost(child));
    EXPECT_EQ(window.geometry(), QRect(10, 10, 100, 100));
    EXPECT_EQ(child->geometry(), QRect(5, 5, 20, 20));

    placeInBand(nullptr, true, 0, 0, 0, 0);
    placeInBand(nullptr, false, 0, 0, 0, 0);
    EXPECT_FALSE(isTopMost(nullptr));
    QWidget neverPlaced;
    EXPECT_FALSE(isTopMost(&neverPlaced));
}

void paste(QLineEdit& box, const QString& text)
{
    QApplication::clipboard()->setText(text);
    box.paste();
}

TEST(SetNumbersOnly, AcceptsDigitsTypedOrPastedAndNothingElse)
{
    QLineEdit box;
    setNumbersOnly(&box, 1);
    QTest::keyClicks(&box, "123");
    EXPECT_EQ(box.text(), "123");
    QTest::keyClicks(&box, "a-4 .5");
    EXPECT_EQ(box.text(), "12345");

    box.clear();
    QTest::keyClicks(&box, "12a");
    EXPECT_EQ(box.text(), "12");

    // A paste is taken whole or not at all.
    paste(box, "1 2");
    EXPECT_EQ(box.text(), "12");
    paste(box, "34");
    EXPECT_EQ(box.text(), "1234");
    // Digits of other scripts would not read back as a number.
    paste(box, QStringLiteral("\uFF15\u0665"));
    EXPECT_EQ(box.text(), "1234");

    // Deleting everything stays possible.
    box.selectAll();
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), "");
}

TEST(SetNumbersOnly, SwitchingOffRestoresFreeTextAndSparesOtherValidators)
{
    QLineEdit box;
    setNumbersOnly(&box, 7);  // any non-zero value switches it on
    const QValidator* first = box.validator();
    ASSERT_NE(first, nullptr);
    setNumbersOnly(&box, 1);
    EXPECT_EQ(box.validator(), first);  // not stacked a second time

    setNumbersOnly(&box, 0);
    EXPECT_EQ(box.validator(), nullptr);
    QTest::keyClicks(&box, "12a");
    EXPECT_EQ(box.text(), "12a");

    QLineEdit plain;
    setNumbersOnly(&plain, 0);
    EXPECT_EQ(plain.validator(), nullptr);

    QLineEdit owned;
    QIntValidator ownersValidator;
    owned.setValidator(&ownersValidator);
    setNumbersOnly(&owned, 0);
    EXPECT_EQ(owned.validator(), &ownersValidator);

    setNumbersOnly(nullptr, 1);
}

}  // namespace
}  // namespace kuvell

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "foundations/LocaleTable.h"
#include "foundations/MSpinEdit.h"
#include "foundations/RealSpinEdit.h"
#include "foundations/UInputError.h"

namespace {
// A Polish system: the separator the user sees is ",".
struct PolishSystem : ::testing::Test {
    void SetUp() override { foundations::setSystemLocaleOverride(QLocale(QLocale::Polish, QLocale::Poland)); }
    void TearDown() override { foundations::setSystemLocaleOverride(std::nullopt); }
};
}  // namespace

using RealSpinEdit = PolishSystem;

TEST_F(RealSpinEdit, ShowsClampsAndParses) {
    TRealSpinEdit e;
    EXPECT_EQ(e.text(), "0,000");
    e.SetValue(2.0005);
    EXPECT_EQ(e.text(), "2,001");
    e.SetValue(-1e6);  // equal bounds: no bounds
    EXPECT_EQ(e.Value(), -1e6);
    e.SetMinValue(-5);
    e.SetMaxValue(10);
    e.SetValue(12);
    EXPECT_EQ(e.text(), "10,000");
    e.SetValue(-7.25);
    EXPECT_EQ(e.Value(), -5.0);
    EXPECT_EQ(e.CheckValue(3.5), 3.5);

    e.setText("abc");
    EXPECT_EQ(e.Value(), -5.0);  // not a number: MinValue
    e.setText("1.5");
    EXPECT_EQ(e.Value(), 1.5);  // "." is accepted as well as ","
    e.setText(" 2,25 ");
    EXPECT_EQ(e.Value(), 2.25);
}

TEST_F(RealSpinEdit, PrecisionOutsideRangeIsIgnored) {
    TRealSpinEdit e;
    e.SetValue(3.14159);
    e.SetPrecision(15);
    EXPECT_EQ(e.Precision(), 3);
    EXPECT_EQ(e.text(), "3,142");
    e.SetPrecision(0);
    EXPECT_EQ(e.text(), "3");
    e.SetPrecision(-1);
    EXPECT_EQ(e.Precision(), 0);
}

TEST_F(RealSpinEdit, ButtonsAndArrowKeysStepUnlessReadOnly) {
    TRealSpinEdit e;
    e.SetIncrement(0.5);
    e.SetValue(1.0);
    e.UpClick();
    EXPECT_EQ(e.Value(), 1.5);
    QTest::keyClick(&e, Qt::Key_Down);
    QTest::keyClick(&e, Qt::Key_Down);
    EXPECT_EQ(e.Value(), 0.5);
    QSignalSpy beeps(&e, &TRealSpinEdit::beeped);
    e.setReadOnly(true);
    e.UpClick();
    e.DownClick();
    EXPECT_EQ(e.Value(), 0.5);
    EXPECT_EQ(beeps.count(), 2);
}

TEST_F(RealSpinEdit, TypedKeysAreChecked) {
    TRealSpinEdit e;
    e.SetMinus(false);
    e.clear();
    QSignalSpy beeps(&e, &TRealSpinEdit::beeped);
    QTest::keyClicks(&e, "-12x.5");
    EXPECT_EQ(e.text(), "12,5");  // "-" and "x" refused, "." typed as the separator shown
    EXPECT_EQ(beeps.count(), 2);
    EXPECT_TRUE(e.IsValidChar(u'+'));
    EXPECT_FALSE(e.IsValidChar(u'-'));
    e.SetMinus(true);
    EXPECT_TRUE(e.IsValidChar(u'-'));
    EXPECT_FALSE(e.IsValidChar(u'e'));

    e.SetEditorEnabled(false);
    QTest::keyClicks(&e, "3");
    QTest::keyClick(&e, Qt::Key_Backspace);
    EXPECT_EQ(e.text(), "12,5");
    QTest::keyClick(&e, Qt::Key_Up);  // the arrows still step
    EXPECT_EQ(e.Value(), 13.5);
}

TEST_F(RealSpinEdit, LeavingReplacesAValueOutsideTheBounds) {
    TRealSpinEdit e;
    e.SetMinValue(0);
    e.SetMaxValue(100);
    e.setText("250");
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&e, &out);
    EXPECT_EQ(e.text(), "100,000");
    e.setText("50");  // inside the bounds: left as typed
    QApplication::sendEvent(&e, &out);
    EXPECT_EQ(e.text(), "50");
}

TEST(MSpinEdit, FlagIsSetOnlyDuringAButtonClick) {
    TMSpinEdit e;
    e.setRange(0, 10);
    std::vector<bool> seen;
    QObject::connect(&e, &QSpinBox::valueChanged, [&] { seen.push_back(e.ButtonClick()); });
    e.UpClick();
    e.setValue(5);
    QTest::keyClick(&e, Qt::Key_Up);
    EXPECT_EQ(seen, (std::vector<bool>{true, false, true}));
    EXPECT_FALSE(e.ButtonClick());
}

using InputError = PolishSystem;

TEST_F(InputError, OkReturnsTheEnteredValueCloseBoxTheGivenOne) {
    QTimer::singleShot(0, [] {
        auto* dlg = qobject_cast<TFInputError*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Wprowadź"));
        EXPECT_EQ(dlg->RealSpinEdit1->text(), "12,500");
        dlg->close();  // the window's close box
    });
    EXPECT_EQ(TFInputError::EditValue(12.5), 12.5);

    QTimer::singleShot(0, [] {
        auto* dlg = qobject_cast<TFInputError*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->RealSpinEdit1->setText("7,25");
        dlg->BitBtn1->click();
    });
    EXPECT_EQ(TFInputError::EditValue(12.5), 7.25);
}

TEST_F(InputError, FocusSelectsTheDecimalsSoTypingReplacesThem) {
    TFInputError dlg;
    dlg.RealSpinEdit1->SetValue(12.5);
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(dlg.RealSpinEdit1, &in);
    QApplication::processEvents();
    EXPECT_EQ(dlg.RealSpinEdit1->selectedText(), "500");
}

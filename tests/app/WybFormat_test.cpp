#include <QApplication>
#include <QComboBox>

#include "foundations/NumberFormat.h"
#include "foundations/SharedGlobals.h"
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "app/WybFormat.h"
#include "support/ModalDialog.h"

using namespace evaluation;

namespace {

TPunkt targets(std::initializer_list<double> positions) {
    TPunkt p;
    for (double d : positions) p.Add().Dystans = d;
    return p;
}

QStringList items(const QComboBox* box) {
    QStringList l;
    for (int i = 0; i < box->count(); ++i) l << box->itemText(i);
    return l;
}

void whenShown(std::function<void(TFWybFormat&)> drive) { testsupport::whenModalShown<TFWybFormat>(std::move(drive)); }

}  // namespace

TEST(WybFormat, ComponentsAndBasePointList) {
    TFWybFormat f;
    EXPECT_EQ(f.objectName(), "FWybFormat");
    EXPECT_EQ(f.windowTitle(), "Wybierz format");
    for (const char* n : {"CBFormat", "CBSystem", "Label2", "CBPunktBazowy", "Label4", "CBOs", "Label3", "Label1",
                          "Bevel1", "BitBtn1", "BitBtn2"})
        EXPECT_NE(f.findChild<QWidget*>(n), nullptr) << n;
    EXPECT_EQ(f.Label4->text(), "Punkt bazowy:");
    EXPECT_EQ(f.Label3->text(), QString::fromUtf8("Oś:"));
    EXPECT_EQ(f.BitBtn2->text(), "Anuluj");
    EXPECT_EQ(items(f.CBFormat), QStringList({"Linear", "Incremental", "Siemens", "HP", "Fanuc"}));
    EXPECT_EQ(items(f.CBSystem), QStringList({"0", "1"}));

    f.LoadChoice({ctfSiemens, 1, 2, 3}, targets({0, 100, 200, 300, 12.4}));
    EXPECT_EQ(items(f.CBPunktBazowy),
              QStringList({"0 - 0 mm", "1 - 100 mm", "2 - 200 mm", "3 - 300 mm", "4 - 12 mm"}));
    EXPECT_EQ(f.Choice(), (CompTableChoice{ctfSiemens, 1, 2, 3}));
    // In inches the positions read in inches, with the system's separator.
    LengthUnit = 1;
    f.LoadChoice({ctfSiemens, 1, 2, 3}, targets({0, 100, 254}));
    LengthUnit = 0;
    const QChar sep = foundations::systemDecimalSeparator();
    EXPECT_EQ(items(f.CBPunktBazowy),
              QStringList({"0 - 0" + QString(sep) + "00 in", "1 - 3" + QString(sep) + "94 in", "2 - 10" + QString(sep) + "00 in"}));
}

TEST(WybFormat, FormatChangeEnablesItsChoices) {
    const QStringList siemens{"AX1", "AX2", "AX3"};
    const QStringList fanuc{"1", "2", "3", "4", "5", "6", "7", "8"};
    struct {
        int format;
        bool system, base, axis;
        QStringList axes;
    } cases[] = {
        {ctfLinear, false, false, false, siemens},   {ctfIncremental, false, false, false, siemens},
        {ctfSiemens, true, true, true, siemens},     {ctfHP, false, false, false, siemens},
        {ctfFanuc, false, true, true, fanuc},
    };
    for (const auto& c : cases) {
        TFWybFormat f;
        f.CBFormat->setCurrentIndex(c.format);  // its change handler runs
        EXPECT_EQ(f.CBSystem->isEnabled(), c.system) << c.format;
        EXPECT_EQ(f.Label2->isEnabled(), c.system) << c.format;
        EXPECT_EQ(f.CBPunktBazowy->isEnabled(), c.base) << c.format;
        EXPECT_EQ(f.Label4->isEnabled(), c.base) << c.format;
        EXPECT_EQ(f.CBOs->isEnabled(), c.axis) << c.format;
        EXPECT_EQ(f.Label3->isEnabled(), c.axis) << c.format;
        EXPECT_EQ(items(f.CBOs), c.axes) << c.format;
    }
    // Switching to Siemens or Fanuc starts the axis list at its first item.
    TFWybFormat f;
    f.CBFormat->setCurrentIndex(ctfFanuc);
    f.CBOs->setCurrentIndex(6);
    f.CBFormat->setCurrentIndex(ctfSiemens);
    EXPECT_EQ(f.CBOs->currentText(), "AX1");
}

TEST(WybFormat, PresetFromRememberedChoices) {
    const TPunkt pts = targets({0, 100, 200, 300, 400});
    struct {
        const char* what;
        CompTableChoice remembered, shown;
    } cases[] = {
        {"Fanuc axis 7", {ctfFanuc, 1, 6, 2}, {ctfFanuc, 1, 6, 2}},
        {"cancelled last time: Linear", {ctfNone, 1, 1, 4}, {ctfLinear, 1, 1, 4}},
        {"base point that no longer exists", {ctfSiemens, 0, 1, 5}, {ctfSiemens, 0, 1, 0}},
        {"Fanuc's axis 6 under Siemens", {ctfSiemens, 0, 5, 1}, {ctfSiemens, 0, 0, 1}},
        {"system out of range", {ctfHP, 3, 0, 0}, {ctfHP, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        TFWybFormat f;
        f.LoadChoice(c.remembered, pts);
        EXPECT_EQ(f.Choice(), c.shown) << c.what;
    }
}

TEST(WybFormat, ChooseReadsTheChoicesOutOnOkOnly) {
    const TPunkt pts = targets({0, 50, 100});
    CompTableChoice choice{ctfNone, 1, 1, 2};

    whenShown([](TFWybFormat& d) {
        EXPECT_EQ(d.CBFormat->currentText(), "Linear");
        d.CBFormat->setCurrentIndex(ctfFanuc);
        d.CBOs->setCurrentIndex(4);
        d.CBPunktBazowy->setCurrentIndex(1);
        d.BitBtn2->click();
    });
    EXPECT_EQ(ChooseCompensationFormat(choice, pts), ctfNone);
    EXPECT_EQ(choice, (CompTableChoice{ctfNone, 1, 1, 2}));

    whenShown([](TFWybFormat& d) {
        EXPECT_EQ(d.CBPunktBazowy->currentText(), "2 - 100 mm");
        d.CBFormat->setCurrentIndex(ctfFanuc);
        d.CBOs->setCurrentIndex(4);
        d.CBPunktBazowy->setCurrentIndex(1);
        d.BitBtn1->click();
    });
    EXPECT_EQ(ChooseCompensationFormat(choice, pts), ctfFanuc);
    EXPECT_EQ(choice, (CompTableChoice{ctfFanuc, 1, 4, 1}));
}

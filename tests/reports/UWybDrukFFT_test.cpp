// The chart choice dialog.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "app/UWybDrukFFT.h"
#include "foundations/RadioGroup.h"
#include "support/ModalDialog.h"
#include "reports/ReportsFixture.h"

using ChoosePrintChartTest = ReportsFixture;

TEST_F(ChoosePrintChartTest, TextsByUseAndTheAnswer) {
    struct Case {
        bool forExport, forAxes;
        int pick;           // item to select before closing
        const char* button;
        int result;
        QString caption, item0, item1;
    };
    const Case cases[] = {
        {false, false, 1, "BitBtn1", 1, "Co drukować?", "Wykres czasowy", "Wykres częstotliwościowy"},
        {false, true, 0, "BitBtn1", 0, "Co drukować?", "Oś pozioma", "Oś pionowa"},
        {true, true, 1, "BitBtn1", 1, "Co eksportować?", "Oś pozioma", "Oś pionowa"},
        // Cancelled: -1 whatever item is selected.
        {true, false, 1, "BitBtn2", -1, "Co eksportować?", "Wykres czasowy", "Wykres częstotliwościowy"},
    };
    for (const Case& c : cases) {
        QString caption, item0, item1, label;
        testsupport::whenModalShown<TFWybDrukFFT>([&](TFWybDrukFFT& d) {
            caption = d.windowTitle();
            item0 = d.RadioGroup1->item(0);
            item1 = d.RadioGroup1->item(1);
            label = d.Label1->text();
            d.RadioGroup1->SetItemIndex(c.pick);
            d.findChild<QPushButton*>(c.button)->click();
        });
        EXPECT_EQ(ChoosePrintChart(c.forExport, c.forAxes), c.result);
        EXPECT_EQ(caption, c.caption);
        EXPECT_EQ(item0, c.item0);
        EXPECT_EQ(item1, c.item1);
        EXPECT_EQ(label, c.forExport ? "Wybierz wykres, który chcesz eksportować" : "Wybierz wykres, który chcesz drukować");
    }
}

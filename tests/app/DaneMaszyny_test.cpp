#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/Unit_DaneMaszyny.h"
#include "instrument/AirCorrection.h"

namespace {

TEST(HeaderEnvironmentTexts, CleanedUpAndConverted) {
    struct { const char* text; std::optional<double> pressure, air, material; } cases[] = {
        {"", 1013.1, 20.0, 20.0},
        {"--", 1013.1, 20.0, 20.0},
        {"998.4 hPa", 998.4, std::nullopt, std::nullopt},
        {"998,4 hPa", 998.4, std::nullopt, std::nullopt},
        {"21.35 °C", std::nullopt, 21.35, 21.35},
        {"21,35°C", std::nullopt, 21.35, 21.35},
        {"19.5C", std::nullopt, 19.5, 19.5},
        {"abc", std::nullopt, std::nullopt, std::nullopt},
        {"1.013,5", std::nullopt, std::nullopt, std::nullopt},  // two separators: no number
    };
    for (const auto& c : cases) {
        const QString t = QString::fromUtf8(c.text);
        EXPECT_EQ(PressureFromHeaderText(t), c.pressure) << c.text;
        EXPECT_EQ(AirTemperatureFromHeaderText(t), c.air) << c.text;
        EXPECT_EQ(MaterialTemperatureFromHeaderText(t), c.material) << c.text;
    }
}

TMeasurementHeader measured() {
    TMeasurementHeader h;
    h.MachineType = "FUS 25";
    h.SerialNumber = "12345";
    h.Axis = "Y";
    h.Operator = "Jan";
    h.Company = "Brantova";
    h.Feed = "2000";
    h.Notes = {"pierwsza", "", "trzecia", "", ""};
    h.Date = "2024-05-06 10:11";
    h.Humidity = "45 %";
    h.Pressure = "--";
    h.AirTemperature = "21.50 °C";
    h.MaterialTemperature = "bad";
    return h;
}

TEST(FormDaneMaszyny, ShowsHeaderAndEnvironment) {
    TFormDaneMaszyny f;
    EXPECT_EQ(f.objectName(), "FormDaneMaszyny");
    EXPECT_EQ(f.windowTitle(), "  Dane maszyny");
    for (const char* n : {"EditTypMaszyny", "EditNumerSer", "ComboBoxOsMaszyny", "EditOperator", "EditFirma", "EditPred",
                          "MemoUwagi", "GroupBox1", "LabelData", "LabelWilgotnosc", "LabelCisnienie",
                          "LabelTempPowietrza", "LabelTempPodloza", "ButtonOk", "ButtonAnuluj", "ButtonPomoc"})
        EXPECT_NE(f.findChild<QWidget*>(n), nullptr) << n;
    EXPECT_EQ(f.findChild<QComboBox*>("ComboBoxOsMaszyny")->currentText(), "X");
    EXPECT_EQ(f.findChild<QComboBox*>("ComboBoxOsMaszyny")->count(), 5);

    // A new measurement: the group stays hidden.
    f.LoadHeader(TMeasurementHeader(), 0, 0);
    EXPECT_TRUE(f.findChild<QGroupBox*>("GroupBox1")->isHidden());

    f.LoadHeader(measured(), 1, 1);
    EXPECT_FALSE(f.findChild<QGroupBox*>("GroupBox1")->isHidden());
    EXPECT_EQ(f.findChild<QLineEdit*>("EditTypMaszyny")->text(), "FUS 25");
    EXPECT_EQ(f.findChild<QComboBox*>("ComboBoxOsMaszyny")->currentText(), "Y");
    EXPECT_EQ(f.findChild<QPlainTextEdit*>("MemoUwagi")->toPlainText(), "pierwsza\ntrzecia");
    EXPECT_EQ(f.findChild<QLabel*>("LabelData")->text(), "2024-05-06 10:11");
    EXPECT_EQ(f.findChild<QLabel*>("LabelWilgotnosc")->text(), "45 %");
    EXPECT_EQ(f.findChild<QLabel*>("LabelCisnienie")->text(), instrument::FormatPressure(1, 1013.1));
    EXPECT_EQ(f.findChild<QLabel*>("LabelTempPowietrza")->text(), instrument::FormatTemperature(1, 21.5));
    EXPECT_EQ(f.findChild<QLabel*>("LabelTempPodloza")->text(), "bad");  // shown as stored
}

TEST(FormDaneMaszyny, StoresCutFieldsAndKeepsTheRun) {
    TFormDaneMaszyny f;
    const TMeasurementHeader original = measured();
    f.LoadHeader(original, 0, 0);
    f.findChild<QComboBox*>("ComboBoxOsMaszyny")->setEditText("X123");
    f.findChild<QLineEdit*>("EditNumerSer")->setText("SN-0123456789-0123456789");
    const QString longLine(120, 'a');
    f.findChild<QPlainTextEdit*>("MemoUwagi")->setPlainText(QStringList{"1", longLine, "3", "4", "5", "6", "7"}.join('\n'));
    TMeasurementHeader h = original;
    f.StoreHeader(h);
    EXPECT_EQ(h.Axis, "X12");
    EXPECT_EQ(h.SerialNumber, "SN-0123456789-012345");
    EXPECT_EQ(h.Notes[0], "1");
    EXPECT_EQ(h.Notes[1], QString(98, 'a'));
    EXPECT_EQ(h.Notes[4], "5");
    EXPECT_EQ(h.Date, original.Date);
    EXPECT_EQ(h.Pressure, original.Pressure);
    EXPECT_EQ(h.MaterialTemperature, "bad");

    // Fewer lines clear the remaining notes; the whole memo holds at most 505 characters.
    f.findChild<QPlainTextEdit*>("MemoUwagi")->setPlainText("tylko jedna");
    f.StoreHeader(h);
    EXPECT_EQ(h.Notes[0], "tylko jedna");
    EXPECT_TRUE(h.Notes[1].isEmpty());
    f.findChild<QPlainTextEdit*>("MemoUwagi")->setPlainText(QString(600, 'b'));
    EXPECT_EQ(f.findChild<QPlainTextEdit*>("MemoUwagi")->toPlainText().size(), 505);
}

TEST(FormDaneMaszyny, FillHeaderCancelKeepsAndOkStores) {
    TMeasurementHeader h = measured();
    auto answer = [](const char* button, const char* typed) {
        QTimer::singleShot(0, [button, typed] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* f = qobject_cast<TFormDaneMaszyny*>(w); f && f->isVisible()) {
                    f->findChild<QLineEdit*>("EditTypMaszyny")->setText(typed);
                    f->findChild<QPushButton*>(button)->click();
                }
        });
    };
    answer("ButtonAnuluj", "Zmieniona");
    EXPECT_FALSE(TFormDaneMaszyny::FillHeader(h, 0, 0));
    EXPECT_TRUE(h == measured());
    answer("ButtonOk", "Zmieniona");
    EXPECT_TRUE(TFormDaneMaszyny::FillHeader(h, 0, 0));
    EXPECT_EQ(h.MachineType, "Zmieniona");
    EXPECT_EQ(h.Feed, "2000");
}

}  // namespace

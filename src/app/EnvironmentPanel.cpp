// The environment panel beside the measurement pages: the station's readings or the values typed
// by hand, the count filter, the effective wavelength and the material.
#include "app/EnvironmentPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/PageControls.h"
#include "app/Settings.h"
#include "app/UnitConversions.h"
#include "app/Unit_glowny_types.h"
#include "evaluation/StraightnessEval.h"
#include "foundations/Display.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RealSpinEdit.h"
#include "foundations/SharedGlobals.h"
#include "instrument/AirCorrection.h"
#include "instrument/MeteoConversion.h"

using namespace pagecontrols;

namespace {
constexpr double kSteelExpansion = 1.17e-5;
constexpr int kUserMaterial = 4;

// The widest text a station reading takes in any unit: the top of each range, which has the
// most digits.
int WidestReading(const QFontMetrics& fm) {
    int widest = fm.horizontalAdvance(QStringLiteral("95 %"));
    for (uint8_t unit : {0, 1}) widest = std::max(widest, fm.horizontalAdvance(instrument::FormatTemperature(unit, 40.0)));
    for (uint8_t unit : {0, 1, 2}) widest = std::max(widest, fm.horizontalAdvance(instrument::FormatPressure(unit, 1040.0)));
    return widest;
}
}  // namespace

EnvironmentPanel::EnvironmentPanel(QObject* owner, EnvironmentPanelCalls& calls) : QObject(owner), calls_(calls) {}

QFrame* EnvironmentPanel::Build() {
    auto* p = panel(nullptr, "PanelMeteo");
    PanelMeteo = p;
    // As wide as its captions in the language shown, so the page beside it keeps the rest.
    p->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* lay = new QVBoxLayout(p);
    lay->setContentsMargins(4, 4, 4, 4);
    // One row per quantity: its box (ticked: from the station) and its value, the station's
    // reading or the field it is typed in, in the same place.
    auto* box = named(new QGroupBox(QStringLiteral("Warunki pomiaru"), p), "GroupBoxMeteo");
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    // Every value cell is as wide as the widest value it shows, so a tick does not change the
    // panel's width.
    const int valueWidth = WidestReading(QFontMetrics(box->font())) + 4;
    auto* legend = label(box, "LabZCzujnika", QStringLiteral("Zaznaczone: z czujnika"));
    legend->setEnabled(false);  // a quiet hint, not a reading
    grid->addWidget(legend, 0, 0, 1, 2);
    auto stationBox = [box](const char* name, const char* caption) {
        auto* c = named(new QCheckBox(QString::fromUtf8(caption), box), name);
        c->setChecked(true);
        c->setToolTip(QStringLiteral("Zaznaczone: wartość z czujnika, inaczej wpisana ręcznie"));
        return c;
    };
    CBTemp = stationBox("CBTemp", "Temp. powietrza");
    CBTMat = stationBox("CBTMat", "Temp. materiału");
    CBWilg = stationBox("CBWilg", "Wilgotność [%]");
    CBCis = stationBox("CBCis", "Ciśnienie");
    auto reading = [box, valueWidth](const char* name) {
        auto* value = label(box, name, QStringLiteral("--"));  // until a valid value arrives
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setFixedWidth(valueWidth);
        return value;
    };
    Label25 = reading("Label25");
    Label19 = reading("Label19");
    Label11 = reading("Label11");
    Label12 = reading("Label12");
    Label13 = reading("Label13");
    Label23 = reading("Label23");
    Label24 = reading("Label24");
    auto realEdit = [box, valueWidth](const char* name, double lo, double hi, int decimals) {
        auto* e = named(new TRealSpinEdit(box), name);
        e->SetMinValue(lo);
        e->SetMaxValue(hi);
        e->SetPrecision(decimals);
        e->SetIncrement(decimals > 1 ? 0.01 : 0.1);
        e->setFixedWidth(valueWidth);
        return e;
    };
    SETempPow = realEdit("SETempPow", 0.0, 40.0, 2);
    SETempMat = realEdit("SETempMat", 0.0, 40.0, 2);
    seCisnienie = realEdit("seCisnienie", 900.0, 1060.0, 1);
    SEWilgotnosc = named(new QSpinBox(box), "SEWilgotnosc");
    SEWilgotnosc->setRange(10, 90);
    SEWilgotnosc->setFixedWidth(valueWidth);
    int r = 1;
    auto quantity = [&](QCheckBox* station, QLabel* value, QWidget* entry) {
        grid->addWidget(station, r, 0);
        grid->addWidget(value, r, 1, Qt::AlignRight);
        grid->addWidget(entry, r++, 1, Qt::AlignRight);
        readingRows_.emplace_back(nullptr, value);
    };
    quantity(CBTemp, Label25, SETempPow);
    quantity(CBTMat, Label19, SETempMat);
    // The material sensors, under the material's mean, while the station gives it.
    const struct {
        const char* caption;
        QLabel* value;
    } sensors[] = {{"Czujnik 1", Label11}, {"Czujnik 2", Label12}, {"Czujnik 3", Label13}};
    for (const auto& sensor : sensors) {
        auto* caption = new QLabel(QString::fromUtf8(sensor.caption), box);
        caption->setObjectName(QStringLiteral("Cap") + sensor.value->objectName());
        caption->setIndent(QFontMetrics(box->font()).horizontalAdvance(QStringLiteral("MM")));
        grid->addWidget(caption, r, 0);
        grid->addWidget(sensor.value, r++, 1, Qt::AlignRight);
        readingRows_.emplace_back(caption, sensor.value);
    }
    quantity(CBWilg, Label23, SEWilgotnosc);
    quantity(CBCis, Label24, seCisnienie);
    // The reading's smoothing of small count changes (off at start).
    Filtr1 = named(new QCheckBox(QStringLiteral("Filtr"), box), "Filtr1");
    grid->addWidget(Filtr1, r++, 0, 1, 2);
    // The wavelength the counts are converted with, after air and material corrections.
    grid->addWidget(named(new QLabel(QStringLiteral("Długość fali [nm]"), box), "CapDispLambda"), r, 0);
    DispLambda = display(box, "DispLambda", 4, 10);
    DispLambda->setFixedWidth(valueWidth);
    grid->addWidget(DispLambda, r++, 1, Qt::AlignRight);
    lay->addWidget(box);

    auto* mat = named(new QGroupBox(QStringLiteral("Materiał :"), p), "GroupBoxMaterial");
    auto* ml = new QGridLayout(mat);
    ml->setContentsMargins(6, 6, 6, 6);
    ml->setHorizontalSpacing(4);
    ComboBox1 = named(new QComboBox(mat), "ComboBox1");
    ComboBox1->addItems({QStringLiteral("Al "), QStringLiteral("Cu"), QStringLiteral("D-Al "), QStringLiteral("Stal "),
                         QStringLiteral("Użytkownika")});
    ComboBox1->setToolTip(QStringLiteral("Materiał podłoża"));
    ComboBox1->setProperty("HelpContext", 109);  // F1 on the material choice
    // The coefficient's caption above the material and its value side by side.
    auto* coefficient = label(mat, "LabWspRoz", QStringLiteral("Wsp. rozszerzalności [µm/m K]"));
    coefficient->setWordWrap(true);
    ml->addWidget(coefficient, 0, 0, 1, 2);
    ml->addWidget(ComboBox1, 1, 0);
    RSEWspRoz = named(new TRealSpinEdit(mat), "RSEWspRoz");
    RSEWspRoz->SetMinValue(0.0);
    RSEWspRoz->SetMaxValue(100.0);
    RSEWspRoz->SetPrecision(1);
    RSEWspRoz->SetIncrement(1.0);
    RSEWspRoz->setEnabled(false);  // only the user's own material takes a typed value
    RSEWspRoz->setToolTip(QStringLiteral("Współczynnik rozszerzalność termicznej"));
    RSEWspRoz->setFixedWidth(valueWidth);
    ml->addWidget(RSEWspRoz, 1, 1, Qt::AlignRight);
    ml->setColumnStretch(0, 1);
    lay->addWidget(mat);
    lay->addStretch(1);
    return p;
}

void EnvironmentPanel::Connect() {
    connect(CBWilg, &QCheckBox::toggled, this, &EnvironmentPanel::CBWilgClick);
    connect(CBCis, &QCheckBox::toggled, this, &EnvironmentPanel::CBCisClick);
    connect(CBTemp, &QCheckBox::toggled, this, &EnvironmentPanel::CBTempClick);
    connect(CBTMat, &QCheckBox::toggled, this, &EnvironmentPanel::CBTMatClick);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &EnvironmentPanel::ComboBox1Change);
    connect(RSEWspRoz, &QLineEdit::textChanged, this, &EnvironmentPanel::RSEWspRozChange);
    connect(SETempPow, &QLineEdit::editingFinished, this, &EnvironmentPanel::SETempPowExit);
    connect(SETempPow, &QLineEdit::textChanged, this, &EnvironmentPanel::SETempPowChange);
    connect(SETempMat, &QLineEdit::textChanged, this, &EnvironmentPanel::SETempMatChange);
    connect(seCisnienie, &QLineEdit::textChanged, this, &EnvironmentPanel::seCisnienieChange);
    CBWilgClick();
    CBCisClick();
    CBTempClick();
    CBTMatClick();
}

// --- measured or typed ---

void EnvironmentPanel::CBWilgClick() { ShowMeasuredOrTyped(CBWilg, {Label23}, SEWilgotnosc); }
void EnvironmentPanel::CBCisClick() { ShowMeasuredOrTyped(CBCis, {Label24}, seCisnienie); }
void EnvironmentPanel::CBTempClick() { ShowMeasuredOrTyped(CBTemp, {Label25}, SETempPow); }
void EnvironmentPanel::CBTMatClick() { ShowMeasuredOrTyped(CBTMat, {Label19, Label11, Label12, Label13}, SETempMat); }

void EnvironmentPanel::ShowMeasuredOrTyped(QCheckBox* box, std::initializer_list<QLabel*> readings, QWidget* entry) {
    const bool measured = box->isChecked();
    for (const auto& [caption, value] : readingRows_) {
        if (std::find(readings.begin(), readings.end(), value) == readings.end()) continue;
        if (caption) caption->setVisible(measured);
        value->setVisible(measured);
    }
    entry->setVisible(!measured);
}

// --- material ---

void EnvironmentPanel::RSEWspRozChange() { ExpansionCoefficient = RSEWspRoz->Value() * 1e-6; }

void EnvironmentPanel::ComboBox1Change() {
    const int item = ComboBox1->currentIndex();
    if (item == kUserMaterial) {
        RSEWspRoz->setEnabled(true);  // the user's value takes over once it is changed
        return;
    }
    if (const auto coefficient = MaterialExpansionCoefficient(item)) ExpansionCoefficient = *coefficient;
    RSEWspRoz->SetValue(ExpansionCoefficient * 1e6);
    RSEWspRoz->setEnabled(false);
}

void EnvironmentPanel::ChooseSteel() {
    ComboBox1->setCurrentIndex(3);
    ExpansionCoefficient = kSteelExpansion;
    RSEWspRoz->SetValue(kSteelExpansion * 1e6);
}

void EnvironmentPanel::TranslateCaptions() {
    ComboBox1->setItemText(3, Msg("stStal"));
    ComboBox1->setItemText(kUserMaterial, Msg("stBezKomp"));
}

// --- hand-entered values ---

void EnvironmentPanel::SETempPowExit() { SETempPow->SetValue(SETempPow->Value()); }

void EnvironmentPanel::SETempPowChange() {
    const uint8_t unit = calls_.EntryTemperatureUnit();
    if (unit == 0) DefaultAirTemperature = SETempPow->Value();
    else if (unit == 1) DefaultAirTemperature = (SETempPow->Value() - 32) * 0.5555555555555556;
}

void EnvironmentPanel::SETempMatChange() {
    const uint8_t unit = calls_.EntryTemperatureUnit();
    if (unit == 0) DefaultMaterialTemperature = SETempMat->Value();
    else if (unit == 1) DefaultMaterialTemperature = (SETempMat->Value() - 32) * 0.5555555555555556;
}

void EnvironmentPanel::seCisnienieChange() {
    const double v = seCisnienie->Value();
    const uint8_t unit = calls_.EntryPressureUnit();
    if (unit == 0) DefaultPressure = v;
    else if (unit == 1) DefaultPressure = v * 1.33322;
    else if (unit == 2) DefaultPressure = v * 1.33322 * 25.4;
}

void EnvironmentPanel::ShowEnvironmentEntries() {
    // Ranges and values as at start: showing a value in another unit stores nothing.
    const QSignalBlocker quietAir(SETempPow), quietMaterial(SETempMat), quietPressure(seCisnienie);
    for (auto [edit, celsius] : {std::pair{SETempPow, DefaultAirTemperature},
                                 std::pair{SETempMat, DefaultMaterialTemperature}}) {
        const EntryField e = TemperatureEntry(celsius, calls_.EntryTemperatureUnit());
        edit->SetMinValue(std::min(e.minimum, edit->MinValue()));
        edit->SetMaxValue(std::max(e.maximum, edit->MaxValue()));
        edit->SetValue(e.value);
        edit->SetMinValue(e.minimum);
        edit->SetMaxValue(e.maximum);
    }
    if (const auto p = PressureEntry(DefaultPressure, calls_.EntryPressureUnit())) {
        seCisnienie->SetMinValue(std::min(p->minimum, seCisnienie->MinValue()));
        seCisnienie->SetMaxValue(std::max(p->maximum, seCisnienie->MaxValue()));
        seCisnienie->SetPrecision(p->decimals);
        seCisnienie->SetValue(p->value);
        seCisnienie->SetMinValue(p->minimum);
        seCisnienie->SetMaxValue(p->maximum);
    }
}

// --- sensors and settings ---

void EnvironmentPanel::FollowPage(int page) { PanelMeteo->setVisible(page >= 2 && page != 6); }

void EnvironmentPanel::SensorsOffForCalibration() {
    for (QCheckBox* b : {CBWilg, CBCis, CBTemp, CBTMat}) {
        b->setChecked(false);
        b->setEnabled(false);
    }
    sensorsOffForCalibration_ = true;
}

void EnvironmentPanel::ShowSensorChoices(const TSettings& s) {
    if (sensorsOffForCalibration_) return;
    CBWilg->setChecked(s.HumidityFromSensor);
    CBCis->setChecked(s.PressureFromSensor);
    CBTemp->setChecked(s.AirTempFromSensor);
    CBTMat->setChecked(s.MaterialTempFromSensor);
}

void EnvironmentPanel::TakeSensorChoices(TSettings& s) const {
    if (sensorsOffForCalibration_) return;
    s.HumidityFromSensor = CBWilg->isChecked();
    s.PressureFromSensor = CBCis->isChecked();
    s.AirTempFromSensor = CBTemp->isChecked();
    s.MaterialTempFromSensor = CBTMat->isChecked();
}

void EnvironmentPanel::ShowStoredValues(const TSettings& s) {
    ShowSensorChoices(s);
    SEWilgotnosc->setValue(s.ManualHumidity);
    ShowEnvironmentEntries();
}

void EnvironmentPanel::StoreValues(TSettings& s) const {
    s.ManualHumidity = SEWilgotnosc->value();
    TakeSensorChoices(s);
}

// --- the reading ---

void EnvironmentPanel::ShowStationReadings(const instrument::MeteoReadout& r) {
    Label25->setText(r.airText);
    Label11->setText(r.materialSensorTexts[0]);
    Label12->setText(r.materialSensorTexts[1]);
    Label13->setText(r.materialSensorTexts[2]);
    Label19->setText(r.materialText);
    Label23->setText(r.humidityText);
    Label24->setText(r.pressureText);
}

void EnvironmentPanel::TakeSensorUse(instrument::EnvironmentChoiceInput& in) const {
    in.humiditySensorUsed = CBWilg->isChecked();
    in.enteredHumidity = SEWilgotnosc->value();
    in.pressureSensorUsed = CBCis->isChecked();
    in.airSensorUsed = CBTemp->isChecked();
    in.materialSensorsUsed = CBTMat->isChecked();
}

bool EnvironmentPanel::FilterOn() const { return Filtr1->isChecked(); }

void EnvironmentPanel::ShowEffectiveWavelength(double nm) { DispLambda->SetValue(nm); }

std::array<QString, 6> EnvironmentPanel::ShownReadings() const {
    return {Label23->text(), Label24->text(), Label25->text(), Label11->text(), Label12->text(), Label13->text()};
}

void EnvironmentPanel::TakeHeaderEntries(evaluation::EnvironmentEntry& e) const {
    e.humidityFromStation = CBWilg->isChecked();
    e.humidityText = SEWilgotnosc->text();
    e.pressureFromStation = CBCis->isChecked();
    e.pressureText = seCisnienie->text();
    e.airFromStation = CBTemp->isChecked();
    e.airText = SETempPow->text();
    e.materialFromStation = CBTMat->isChecked();
    e.materialText = SETempMat->text();
}

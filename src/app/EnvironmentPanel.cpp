// The environment panel beside the measurement pages: the station's readings or the values typed
// by hand, the count filter, the effective wavelength and the material.
#include "app/EnvironmentPanel.h"

#include <QCheckBox>
#include <QComboBox>
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
}  // namespace

EnvironmentPanel::EnvironmentPanel(QObject* owner, EnvironmentPanelCalls& calls) : QObject(owner), calls_(calls) {}

QFrame* EnvironmentPanel::Build() {
    auto* p = panel(nullptr, "PanelMeteo");
    PanelMeteo = p;
    p->setFixedWidth(270);
    auto* lay = new QVBoxLayout(p);
    auto* box = named(new QGroupBox(QStringLiteral("Warunki pomiaru"), p), "GroupBoxMeteo");
    auto* form = new QVBoxLayout(box);
    CBTemp = named(new QCheckBox(QStringLiteral("Temp. powietrza z czujnika"), box), "CBTemp");
    CBTMat = named(new QCheckBox(QStringLiteral("Temp. materiału z czujników"), box), "CBTMat");
    CBWilg = named(new QCheckBox(QStringLiteral("Wilgotność z czujnika"), box), "CBWilg");
    CBCis = named(new QCheckBox(QStringLiteral("Ciśnienie z czujnika"), box), "CBCis");
    for (QCheckBox* c : {CBTemp, CBTMat, CBWilg, CBCis}) {
        c->setChecked(true);
        form->addWidget(c);
    }
    // The reading's smoothing of small count changes (off at start).
    Filtr1 = named(new QCheckBox(QStringLiteral("Filtr"), box), "Filtr1");
    form->addWidget(Filtr1);
    lay->addWidget(box);
    // What the environment station reads ("--" until a valid value arrives).
    auto* readings = named(new QGroupBox(QStringLiteral("Odczyt"), p), "GroupBoxOdczytMeteo");
    auto* rl = new QGridLayout(readings);
    const struct {
        const char* caption;
        const char* value;
        QLabel*& label;
    } rows[] = {
        {"Temp. powietrza", "Label25", Label25}, {"Temp. materiału", "Label19", Label19},
        {"Czujnik 1", "Label11", Label11},       {"Czujnik 2", "Label12", Label12},
        {"Czujnik 3", "Label13", Label13},       {"Wilgotność", "Label23", Label23},
        {"Ciśnienie", "Label24", Label24},
    };
    int r = 0;
    for (const auto& row : rows) {
        auto* caption = new QLabel(QString::fromUtf8(row.caption), readings);
        caption->setObjectName(QStringLiteral("Cap") + QLatin1String(row.value));
        rl->addWidget(caption, r, 0);
        auto* value = label(readings, row.value, QStringLiteral("--"));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        rl->addWidget(value, r++, 1);
        row.label = value;
        readingRows_.emplace_back(caption, value);
    }
    // The wavelength the counts are converted with, after air and material corrections.
    rl->addWidget(named(new QLabel(QStringLiteral("Długość fali [nm]"), readings), "CapDispLambda"), r, 0);
    DispLambda = display(readings, "DispLambda", 4, 10);
    rl->addWidget(DispLambda, r++, 1);
    lay->addWidget(readings);
    auto* mat = named(new QGroupBox(QStringLiteral("Materiał :"), p), "GroupBoxMaterial");
    auto* ml = new QGridLayout(mat);
    ComboBox1 = named(new QComboBox(mat), "ComboBox1");
    ComboBox1->addItems({QStringLiteral("Al "), QStringLiteral("Cu"), QStringLiteral("D-Al "), QStringLiteral("Stal "),
                         QStringLiteral("Użytkownika")});
    ComboBox1->setToolTip(QStringLiteral("Materiał podłoża"));
    ComboBox1->setProperty("HelpContext", 109);  // F1 on the material choice
    ml->addWidget(ComboBox1, 0, 0, 1, 2);
    ml->addWidget(label(mat, "LabWspRoz", QStringLiteral("Wsp. rozszerzalności [µm/m K]")), 1, 0, 1, 2);
    RSEWspRoz = named(new TRealSpinEdit(mat), "RSEWspRoz");
    RSEWspRoz->SetMinValue(0.0);
    RSEWspRoz->SetMaxValue(100.0);
    RSEWspRoz->SetPrecision(1);
    RSEWspRoz->SetIncrement(1.0);
    RSEWspRoz->setEnabled(false);  // only the user's own material takes a typed value
    RSEWspRoz->setToolTip(QStringLiteral("Współczynnik rozszerzalność termicznej"));
    ml->addWidget(RSEWspRoz, 2, 0, 1, 2);
    lay->addWidget(mat);
    // Values entered by hand, each offered while its station reading is switched off.
    GroupBoxReczne = named(new QGroupBox(QStringLiteral("Wartości ręczne"), p), "GroupBoxReczne");
    auto* mg = new QGridLayout(GroupBoxReczne);
    auto realEdit = [this](const char* name, double lo, double hi, int decimals) {
        auto* e = named(new TRealSpinEdit(GroupBoxReczne), name);
        e->SetMinValue(lo);
        e->SetMaxValue(hi);
        e->SetPrecision(decimals);
        e->SetIncrement(decimals > 1 ? 0.01 : 0.1);
        return e;
    };
    SETempPow = realEdit("SETempPow", 0.0, 40.0, 2);
    SETempMat = realEdit("SETempMat", 0.0, 40.0, 2);
    seCisnienie = realEdit("seCisnienie", 900.0, 1060.0, 1);
    SEWilgotnosc = named(new QSpinBox(GroupBoxReczne), "SEWilgotnosc");
    SEWilgotnosc->setRange(10, 90);
    const struct {
        const char* caption;
        QWidget* edit;
    } entries[] = {
        {"Temp. powietrza", SETempPow},
        {"Temp. materiału", SETempMat},
        {"Wilgotność [%]", SEWilgotnosc},
        {"Ciśnienie", seCisnienie},
    };
    int row = 0;
    for (const auto& e : entries) {
        auto* caption = new QLabel(QString::fromUtf8(e.caption), GroupBoxReczne);
        caption->setObjectName(QStringLiteral("Cap") + e.edit->objectName());
        mg->addWidget(caption, row, 0);
        mg->addWidget(e.edit, row++, 1);
        entryRows_.emplace_back(caption, e.edit);
    }
    lay->addWidget(GroupBoxReczne);
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
        caption->setVisible(measured);
        value->setVisible(measured);
    }
    for (const auto& [caption, edit] : entryRows_) {
        if (edit != entry) continue;
        caption->setVisible(!measured);
        edit->setVisible(!measured);
    }
    // The hand entries' group shows only while some value is typed.
    GroupBoxReczne->setVisible(
        !(CBTemp->isChecked() && CBTMat->isChecked() && CBWilg->isChecked() && CBCis->isChecked()));
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

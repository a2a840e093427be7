// The configuration command ("Ko&nfiguracja" on the main menu page, "Edycja > Konfiguracja"),
// what follows the length and readout units, the environment switches between measured and
// typed values, the two service threshold captions and the serial speed choice.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <algorithm>

#include "app/AngularPage.h"
#include "app/LiveReadoutPage.h"
#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "app/PointStoreWidgets.h"
#include "app/PositioningRun.h"
#include "app/UnitConversions.h"
#include "app/Unit_glowny.h"
#include "app/VelocityPage.h"
#include "app/opcje.h"
#include "evaluation/PointStore.h"
#include "foundations/FR_Utils.h"
#include "foundations/MeasurementModes.h"
#include "foundations/MessageDlg.h"
#include "foundations/NumberFormat.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RadioGroup.h"
#include "foundations/RealSpinEdit.h"
#include "foundations/SharedGlobals.h"
#include "instrument/ComDrv32.h"
#include "platform/Chart.h"

// What the configuration command needs of the window.
class TMainForm::OptionsHost final : public OptionsDialogHost {
public:
    explicit OptionsHost(TMainForm& f) : f_(f) {}
    TSettings& OptionsSettings() override { return f_; }
    int OptionsMeasurementMode() const override { return f_.MeasurementMode; }
    void ShowStoredChoices() override { f_.ShowOptionChoices(); }
    void ApplyEnvironmentEntryUnits() override { f_.ShowEnvironmentEntries(); }
    void ApplyLengthUnit() override { f_.ApplyLengthUnit(); }
    void RefreshPageAfterOptions() override { f_.RefreshPageAfterOptions(); }
    void RememberSerialLink() override {
        saved_ = {f_.CommPortDriver1->ComPort(), f_.CommPortDriver1->ComPortSpeed(), f_.SerialLinkOpen()};
    }
    void SettleSerialLink(bool keepFound) override { f_.SettleSerialLink(saved_, keepFound); }

private:
    TMainForm& f_;
    SavedSerialLink saved_;
};

void TMainForm::SettleSerialLink(const SavedSerialLink& saved, bool keepFound) {
    if (keepFound) {
        // The port that answered, at the speed that worked, is the link from now on.
        if (!CommPortDriver1->Connected()) CommPortDriver1->Connect();
    } else {
        CommPortDriver1->Disconnect();
        CommPortDriver1->SetComPort(saved.port);
        CommPortDriver1->SetComPortSpeed(saved.speed);
        if (saved.open) CommPortDriver1->Connect();
    }
    // The connect and disconnect buttons and the link text show what came of it.
    if (CommPortDriver1->Connected()) {
        RSButton_Polacz->setEnabled(false);
        RSButton_Rozlacz->setEnabled(true);
        SetLinkStatusText(QStringLiteral("Połączony"));
        CommPortDriver1->ToggleRTS(true);
    } else {
        RSButton_RozlaczClick();
        if (saved.open || keepFound) MessageDlg(Msg("stNieMoznaOtworzyc"), TMsgDlgType::mtError, mbOK);
    }
}

void TMainForm::ConnectOptions() {
    if (QAction* a = MenuCommand(QStringLiteral("Konfiguracja1")))
        connect(a, &QAction::triggered, this, [this] { BitBtnKonfiguracjaClick(false); });
    connect(CBWilg, &QCheckBox::toggled, this, &TMainForm::CBWilgClick);
    connect(CBCis, &QCheckBox::toggled, this, &TMainForm::CBCisClick);
    connect(CBTemp, &QCheckBox::toggled, this, &TMainForm::CBTempClick);
    connect(CBTMat, &QCheckBox::toggled, this, &TMainForm::CBTMatClick);
    for (void (TMainForm::*h)() : {&TMainForm::CBWilgClick, &TMainForm::CBCisClick, &TMainForm::CBTempClick,
                                   &TMainForm::CBTMatClick})
        (this->*h)();
    connect(BaudRateRG, &TRadioGroup::changed, this, &TMainForm::BaudRateRGClick);
}

void TMainForm::BitBtnKonfiguracjaClick(bool fromBitButton) {
    // The dialog starts from what the window shows: its port choice and sensor ticks. Boxes
    // switched off for want of calibration offer the stored choice instead.
    if (ComPortUstawienia->ItemIndex() >= 0) ComPortIndex = ComPortUstawienia->ItemIndex();
    if (!sensorsOffForCalibration_) {
        HumidityFromSensor = CBWilg->isChecked();
        PressureFromSensor = CBCis->isChecked();
        AirTempFromSensor = CBTemp->isChecked();
        MaterialTempFromSensor = CBTMat->isChecked();
    }
    if (!OptionsHostHolder) OptionsHostHolder = std::make_shared<OptionsHost>(*this);
    RunOptionsDialog(*OptionsHostHolder, fromBitButton, this);
}

void TMainForm::ShowOptionChoices() {
    // The open link keeps its port: the connect command applies the choice when it next opens.
    ComPortUstawienia->SetItemIndex(ComPortIndex);
    // Without calibration the boxes stay off; the choice is kept for when the file is back.
    if (sensorsOffForCalibration_) return;
    CBWilg->setChecked(HumidityFromSensor);
    CBCis->setChecked(PressureFromSensor);
    CBTemp->setChecked(AirTempFromSensor);
    CBTMat->setChecked(MaterialTempFromSensor);
}

void TMainForm::ShowEnvironmentEntries() {
    // Ranges and values as at start: showing a value in another unit stores nothing.
    const QSignalBlocker quietAir(SETempPow), quietMaterial(SETempMat), quietPressure(seCisnienie);
    for (auto [edit, celsius] : {std::pair{SETempPow, DefaultAirTemperature},
                                 std::pair{SETempMat, DefaultMaterialTemperature}}) {
        const EntryField e = TemperatureEntry(celsius, TemperatureUnit);
        edit->SetMinValue(std::min(e.minimum, edit->MinValue()));
        edit->SetMaxValue(std::max(e.maximum, edit->MaxValue()));
        edit->SetValue(e.value);
        edit->SetMinValue(e.minimum);
        edit->SetMaxValue(e.maximum);
    }
    if (const auto p = PressureEntry(DefaultPressure, PressureUnit)) {
        seCisnienie->SetMinValue(std::min(p->minimum, seCisnienie->MinValue()));
        seCisnienie->SetMaxValue(std::max(p->maximum, seCisnienie->MaxValue()));
        seCisnienie->SetPrecision(p->decimals);
        seCisnienie->SetValue(p->value);
        seCisnienie->SetMinValue(p->minimum);
        seCisnienie->SetMaxValue(p->maximum);
    }
}

void TMainForm::RefreshPageAfterOptions() {
    switch (MeasurementMode) {
    case kModePositioning:
        ShowMeasurementParameters();
        if (PositioningCycles->Count() == 0)
            SetChartBackground(wykres, PositioningBackgroundFile(ProgramDir, PositioningMethod));
        else if (NotebookButton && NotebookButton->currentIndex() == 2)
            EvaluatePositioning(true);
        else
            Points().ShowPositioningCycle(PositioningControl().CurrentCycle());
        break;
    case kModeVelocity:
        Velocity().UpdateVelocityUnitCaptions();
        Points().PlotVelocity();
        break;
    case kModeStraightness: {
        // "3 D": the second chart takes half of the panel (the two share its layout equally).
        WykresOsY->setVisible(StraightnessMethod == 2);
        const bool tenNm = StraightnessMethod == 1 || (BRozdziel && !BRozdziel->isHidden() && Resolution10);
        SendHeadCommand(tenNm ? modes::kResolution10nm : modes::kResolution100nm);
        ShowMeasurementParameters();
        if (StraightnessPoints->Count() > 0) PlotStraightnessPoints();
        break;
    }
    case kModeAngular: Angular().ShowAngularParameters(); break;
    default: break;  // flatness, vibration and the live readout keep their pages
    }
}

void TMainForm::ApplyLengthUnit() {
    const auto v = LengthUnitRules(LengthUnit, MeasurementMode, {StartPoint, StartPointPK, StartPointDisp},
                                   DisplayLengthUnit, DisplayVelocityUnit);
    if (!v) return;
    for (TRealSpinEdit* e : {PunktStartowy, PunktStartowyPK, PunktStartowyWysw})
        if (e) ShowStartPoint(e);
    DisplayLengthUnit = v->displayLengthUnit;
    DisplayVelocityUnit = v->displayVelocityUnit;
    SetChartAxisTitle(wykres, ChartAxis::Bottom, v->axisTitle);
    ApplyDisplayUnit();
}

void TMainForm::ApplyDisplayUnit() {
    const DisplayUnitView v = DisplayUnitRules(MeasurementMode, DisplayLengthUnit, DisplayVelocityUnit, DisplayPrecision);
    if (v.lengthLabel) Readout().SetLengthUnitLabel(*v.lengthLabel);
    if (v.velocityLabel) Readout().SetVelocityUnitLabel(*v.velocityLabel);
    if (v.decimals) Readout().SetReadoutDecimals(*v.decimals);
}

// Each box: its station reading while ticked, the hand entry while not.
void TMainForm::CBWilgClick() { ShowMeasuredOrTyped(CBWilg, {Label23}); }
void TMainForm::CBCisClick() { ShowMeasuredOrTyped(CBCis, {Label24}); }
void TMainForm::CBTempClick() { ShowMeasuredOrTyped(CBTemp, {Label25}); }
void TMainForm::CBTMatClick() { ShowMeasuredOrTyped(CBTMat, {Label19, Label11, Label12, Label13}); }

void TMainForm::ShowMeasuredOrTyped(QCheckBox* box, std::initializer_list<QLabel*> readings) {
    // The hand entry of the box follows its tick where the panel is built.
    const bool measured = box->isChecked();
    for (const auto& [caption, value] : meteoReadingRows_) {
        if (std::find(readings.begin(), readings.end(), value) == readings.end()) continue;
        caption->setVisible(measured);
        value->setVisible(measured);
    }
}

void TMainForm::ScrollBar4Change() {
    PSLabel46->setText(QStringLiteral("Próg - Głowica wył./Wygrzewanie (") + QString::number(ScrollBar4->value()) +
                       QStringLiteral(")."));
}

void TMainForm::ScrollBar5Change() {
    PSLabel57->setText(QStringLiteral("Odchylka nie większa niż ") + foundations::formatFixed(ScrollBar5->value() * 0.01, 15, 2, foundations::systemDecimalSeparator()) +
                       QStringLiteral(" mm"));
}

void TMainForm::BaudRateRGClick() {
    const int i = BaudRateRG->ItemIndex();
    if (i < 0 || i + 1 > int(br115200)) return;
    CommPortDriver1->SetComPortSpeed(TComPortBaudRate(i + 1));  // item "300" is the second speed
}

void TMainForm::ShowLinkSpeed(uint8_t speedIndex) {
    if (!BaudRateRG || speedIndex < 1 || speedIndex > br115200) return;
    const QSignalBlocker quiet(BaudRateRG);  // the port has that speed already
    BaudRateRG->SetItemIndex(speedIndex - 1);
}

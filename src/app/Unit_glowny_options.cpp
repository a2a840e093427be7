// The configuration command ("Ko&nfiguracja" on the main menu page, "Edycja > Konfiguracja"),
// what follows the length and readout units, the two service threshold captions and the serial
// speed choice.
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
#include "app/PositioningPage.h"
#include "app/EnvironmentPanel.h"
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
    void ApplyEnvironmentEntryUnits() override { f_.Environment().ShowEnvironmentEntries(); }
    void ApplyLengthUnit() override { f_.ApplyLengthUnit(); }
    void RefreshPageAfterOptions() override { f_.RefreshPageAfterOptions(); }
    void RememberSerialLink() override {
        saved_ = {f_.CommPortDriver1->ComPort(), f_.CommPortDriver1->ComPortSpeed(), f_.SerialLinkOpen()};
    }
    void SettleSerialLink(bool keepFound) override { f_.SettleSerialLink(saved_, keepFound); }
    instrument::PortSearchThreads& PortSearch() override { return f_.Threads(); }

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
    connect(BaudRateRG, &TRadioGroup::changed, this, &TMainForm::BaudRateRGClick);
}

void TMainForm::BitBtnKonfiguracjaClick(bool fromBitButton) {
    // The dialog starts from what the window shows: its port choice and sensor ticks. Boxes
    // switched off for want of calibration offer the stored choice instead.
    if (ComPortUstawienia->ItemIndex() >= 0) ComPortIndex = ComPortUstawienia->ItemIndex();
    Environment().TakeSensorChoices(*this);
    if (!OptionsHostHolder) OptionsHostHolder = std::make_shared<OptionsHost>(*this);
    RunOptionsDialog(*OptionsHostHolder, fromBitButton, this);
}

void TMainForm::ShowOptionChoices() {
    // The open link keeps its port: the connect command applies the choice when it next opens.
    ComPortUstawienia->SetItemIndex(ComPortIndex);
    // Without calibration the boxes stay off; the choice is kept for when the file is back.
    Environment().ShowSensorChoices(*this);
}

void TMainForm::RefreshPageAfterOptions() {
    switch (MeasurementMode) {
    case kModePositioning:
        ShowMeasurementParameters();
        if (PositioningCycles->Count() == 0)
            ShowPositioningBackground();
        else if (Positioning().ButtonPages() && Positioning().ButtonPages()->currentIndex() == 2)
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
        Positioning().YChart()->setVisible(StraightnessMethod == 2);
        const bool tenNm = StraightnessMethod == 1 || (Positioning().ResolutionButton() && !Positioning().ResolutionButton()->isHidden() && Resolution10);
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
    SetChartAxisTitle(Positioning().Chart(), ChartAxis::Bottom, v->axisTitle);
    ApplyDisplayUnit();
}

void TMainForm::ApplyDisplayUnit() {
    const DisplayUnitView v = DisplayUnitRules(MeasurementMode, DisplayLengthUnit, DisplayVelocityUnit, DisplayPrecision);
    if (v.lengthLabel) Readout().SetLengthUnitLabel(*v.lengthLabel);
    if (v.velocityLabel) Readout().SetVelocityUnitLabel(*v.velocityLabel);
    if (v.decimals) Readout().SetReadoutDecimals(*v.decimals);
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

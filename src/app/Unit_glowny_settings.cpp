// The main window's settings: read once at creation and written once at destruction, with the
// controls that show them.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>

#include "app/AngularPage.h"
#include "app/PositioningPage.h"
#include "app/EnvironmentPanel.h"
#include "app/StartupChecks.h"
#include "app/Unit_glowny.h"
#include "foundations/FR_Utils.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RadioGroup.h"
#include "foundations/RealSpinEdit.h"
#include "foundations/SharedGlobals.h"
#include "instrument/HeadLinkState.h"
#include "platform/AppPaths.h"
#include "platform/Registry.h"

void TMainForm::PSTransmisja2Click() {
    const int i = PSTransmisja2->ItemIndex();
    if (i < 0) return;
    InterfaceMode = uint8_t(i);
    ConfigureLink();
    NotebookFlagi->setCurrentIndex(i);
    ComPortUstawienia->setEnabled(i == 1);
}

void TMainForm::CheckBoxIgnorujZaDuzaPredkoscClick() {
    instrument::LinkState().IgnoreVelocityTooHigh = CheckBoxIgnorujZaDuzaPredkosc->isChecked();
}

void TMainForm::RadioGroupUsrednianieMeteoClick() {
    const int i = RadioGroupUsrednianieMeteo->ItemIndex();
    if (i < 0) return;
    MeteoAveragingIndex = i;
    ApplyMeteoChoices();
}

void TMainForm::CheckBox4Click() { BigErrorWarning = CheckBox4->isChecked(); }

void TMainForm::cbSystemXYClick() { SystemXY = cbSystemXY->isChecked(); }

SettingsCorrections TMainForm::LoadStoredSettings() {
    SettingsCorrections corrections = ReadSettings(platform::appRegistry(), *this);
    ConfigureLink();  // the stored interface choice
    SettingsToControls();
    LoadDefaultPointLists();
    // The interferometer always starts at 100 nm resolution.
    Resolution10 = false;
    Positioning().ResolutionButton()->setText(Msg("stRozdzielczosc") + QStringLiteral(" 100 nm"));
    SendHeadCommand('f');
    SetGaugeLimits();
    UpdateServiceHints();
    ApplyLengthUnit();
    return corrections;
}

void TMainForm::ShowStartupDamage() {
    const platform::Registry& reg = platform::appRegistry();
    const QString lines[] = {
        SettingsFileStateMessage(reg.fileState(), reg.filePath(), reg.damagedCopy()),
        DamagedLanguageFile().isEmpty() ? QString() : DamagedLanguageFileMessage(DamagedLanguageFile()),
        UnwritableFoldersMessage(UnwritableDataFolders(*this)),
    };
    for (const QString& line : lines)
        if (!line.isEmpty()) ShowStartupMessage(line, TMsgDlgType::mtWarning);
}

QString TMainForm::SaveStoredSettings() {
    SaveDefaultPointLists();  // may turn "Punkty z listy" off, which the settings then keep
    ControlsToSettings();
    WriteSettings(platform::appRegistry(), *this);
    return platform::appRegistry().sync();
}

void TMainForm::SettingsToControls() {
    ComPortUstawienia->SetItemIndex(ComPortIndex);
    if (PSTransmisja2->ItemIndex() != TransmissionIndex)
        PSTransmisja2->SetItemIndex(TransmissionIndex);  // runs PSTransmisja2Click
    else
        PSTransmisja2Click();
    ScrollBar4->setValue(HeadOnOffThreshold);
    ScrollBar5->setValue(MaxErrorThreshold);
    RadioGroupUsrednianieMeteo->SetItemIndex(MeteoAveragingIndex);
    CheckBox4->setChecked(BigErrorWarning);
    cbSystemXY->setChecked(SystemXY);
    CheckBoxIgnorujZaDuzaPredkoscClick();  // the link's flag as the box stands
    Positioning().WaitTimeBar()->setValue(AutoAcceptTime);
    auto check = [this](const char* name, bool on) {
        if (QAction* a = MenuCommand(QString::fromLatin1(name))) a->setChecked(on);
    };
    check("Automatyczny1", Automatic);
    check("ReczneZaliczeniePunktu", HandControl);
    check("ReczneZaliczeniePunktuPK", HandControlPK);
    check("StopPoKazdymCyklu1", StopAfterCycle);
    check("KorekcjaWartosciZadanej", TargetValueCorrection);
    check("PunktyZListy", PointsFromList);
    check("Puntyautomatycznie1", !PointsFromList);
    check("WszyskieCykle1", AllCycles);
    check("MenuItemWartosczadana", ShowTargetValue);
    check("MenuItemKatCalkowity", ShowTotalAngle);
    check("MenuItemTabelkaOdchylek", ShowErrorTable);
    check("MenuItemTabelkaOdchylekPK", ShowErrorTablePK);
    Angular().ShowDeviationTable(ShowErrorTablePK);
    Dystans1->setChecked(PointsOrDistance);
    Numerpunktu1->setChecked(!PointsOrDistance);
    Kat1->setChecked(PointsOrAngle);
    Numerpunktu2->setChecked(!PointsOrAngle);
    Positioning().StandardChoice()->setCurrentIndex(NormIndex);
    Positioning().MachineChoice()->setEditText(MachineName);
    // The run control's scroll bars; the gauge limits' change handlers store them back and
    // apply them to the gauges.
    ScrollBar12->setValue(AverageChangeLimit);
    ScrollBar13->setValue(MoveDetectThreshold);
    ScrollBar10->setValue(SignalGaugeMax);
    ScrollBar11->setValue(SignalGaugeMin);
    // The sensor ticks (not while they are off for want of calibration) and the hand-entered
    // environment values in the units they are shown in; showing them stores nothing back.
    Environment().ShowStoredValues(*this);
}

void TMainForm::ControlsToSettings() {
    if (PSTransmisja2->ItemIndex() >= 0) TransmissionIndex = PSTransmisja2->ItemIndex();
    if (ComPortUstawienia->ItemIndex() >= 0) ComPortIndex = ComPortUstawienia->ItemIndex();
    HeadOnOffThreshold = ScrollBar4->value();
    MaxErrorThreshold = ScrollBar5->value();
    if (RadioGroupUsrednianieMeteo->ItemIndex() >= 0) MeteoAveragingIndex = RadioGroupUsrednianieMeteo->ItemIndex();
    BigErrorWarning = CheckBox4->isChecked();
    SystemXY = cbSystemXY->isChecked();
    AutoAcceptTime = Positioning().WaitTimeBar()->value();
    auto checked = [this](const char* name, bool current) {
        const QAction* a = MenuCommand(QString::fromLatin1(name));
        return a ? a->isChecked() : current;
    };
    Automatic = checked("Automatyczny1", Automatic);
    HandControl = checked("ReczneZaliczeniePunktu", HandControl);
    HandControlPK = checked("ReczneZaliczeniePunktuPK", HandControlPK);
    StopAfterCycle = checked("StopPoKazdymCyklu1", StopAfterCycle);
    TargetValueCorrection = checked("KorekcjaWartosciZadanej", TargetValueCorrection);
    PointsFromList = checked("PunktyZListy", PointsFromList);
    AllCycles = checked("WszyskieCykle1", AllCycles);
    ShowTargetValue = checked("MenuItemWartosczadana", ShowTargetValue);
    ShowTotalAngle = checked("MenuItemKatCalkowity", ShowTotalAngle);
    ShowErrorTable = checked("MenuItemTabelkaOdchylek", ShowErrorTable);
    ShowErrorTablePK = checked("MenuItemTabelkaOdchylekPK", ShowErrorTablePK);
    PointsOrDistance = Dystans1->isChecked();
    PointsOrAngle = Kat1->isChecked();
    NormIndex = Positioning().StandardChoice()->currentIndex();
    MachineName = Positioning().MachineChoice()->currentText();
    AverageChangeLimit = ScrollBar12->value();
    MoveDetectThreshold = ScrollBar13->value();
    // Boxes switched off only because the calibration file was missing keep the stored choice,
    // so that the sensors are used again once the file is back.
    Environment().StoreValues(*this);
}

// The text export command ("&Eksport") and the positioning readouts' digit switch.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ModeSequences.h"
#include "app/PositioningPage.h"
#include "app/ModeSequencesMainForm.h"
#include "app/PunktyPoz.h"
#include "app/UWybDrukFFT.h"
#include "app/Unit_glowny.h"
#include "app/Unit_glowny_types.h"
#include "app/VibrationPage.h"
#include "app/VibrationRules.h"
#include "evaluation/MeasurementFiles.h"
#include "evaluation/VibrationSpectrum.h"
#include "foundations/Display.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RadioGroup.h"
#include "foundations/RealSpinEdit.h"
#include "foundations/SharedGlobals.h"
#include "app/dialogs/UPomiarFFT.h"
#include "platform/ChartSeries.h"
#include "foundations/MeasurementModes.h"

void TMainForm::ConnectExport() {
    if (QAction* a = MenuCommand(QStringLiteral("Eksport1"))) connect(a, &QAction::triggered, this, &TMainForm::Eksport1Click);
    if (Positioning().MeasuredDisplay() && Positioning().MeasuredDisplay()->parentWidget() && Positioning().MeasuredDisplay()->parentWidget()->layout()) {
        UpDown1 = new QSpinBox(Positioning().MeasuredDisplay()->parentWidget());
        UpDown1->setObjectName(QStringLiteral("UpDown1"));
        UpDown1->setRange(1, 5);
        UpDown1->setValue(2);
        UpDown1->setToolTip(QStringLiteral("Liczba cyfr"));
        Positioning().MeasuredDisplay()->parentWidget()->layout()->addWidget(UpDown1);
        connect(UpDown1, &QSpinBox::valueChanged, this, &TMainForm::UpDown1Click);
    }
}

// --- export ---

void TMainForm::Eksport1Click() {
    int choice = -1;
    if (MeasurementMode == kModeVibration) {
        choice = ChoosePrintChart(true, false, this);
        if (choice == -1) return;
    }
    const vibrationrules::ExportWriter writer = vibrationrules::ExportWriterFor(MeasurementMode, choice);
    if (writer == vibrationrules::ExportWriter::None) return;

    const bool typed = MeasurementMode < ModeCaptions.size();
    const std::array<QString, 6> dirs{PositioningDir, VelocityDir, StraightnessDir, FlatnessDir, AngularDir, FftDir};
    const QString name =
        vibrationrules::ExportFileName(windowTitle(), typed ? ModeCaptions[MeasurementMode] : QString());
    const auto file = RunFileDialog(this, vibrationrules::ExportDialogSettings(name, typed ? dirs[MeasurementMode] : QString()), true);
    if (!file) return;

    vibrationrules::ExportSources s;
    s.positioning = PositioningCycles.get();
    s.velocity = VelocitySamples.get();
    s.straightness = StraightnessPoints.get();
    s.flatness = FlatnessLines.get();
    s.angular = AngularPoints.get();
    if (writer == vibrationrules::ExportWriter::FftTime) s.fftTime = vibrationrules::ChartValues(*VibrationView->TimeChart());
    if (writer == vibrationrules::ExportWriter::FftSpectrum) s.fftSpectrum = vibrationrules::ChartValues(*VibrationView->SpectrumChart());
    try {
        vibrationrules::WriteExport(writer, s, *file);
    } catch (const MeasurementFileError& e) {
        MessageDlg(e.message(), TMsgDlgType::mtError, mbOK);
    }
}

void TMainForm::UpDown1Click() {
    const int decimals = vibrationrules::ReadoutDecimals(UpDown1->value());
    Positioning().MeasuredDisplay()->SetPrecision(decimals);
    if (Positioning().TargetDisplay()) Positioning().TargetDisplay()->SetPrecision(decimals);
}

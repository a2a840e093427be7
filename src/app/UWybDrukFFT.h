#pragma once
// "Co drukować?": which of a run's two charts to print or export - the time curve or the
// spectrum of a vibration run, the horizontal or the vertical plane of a two-plane
// straightness run.
#include "foundations/FR_Utils.h"

class QLabel;
class QPushButton;
class TRadioGroup;

class TFWybDrukFFT : public TSSForm {
    Q_OBJECT
public:
    explicit TFWybDrukFFT(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    QPushButton* BitBtn1 = nullptr;  // OK
    QPushButton* BitBtn2 = nullptr;  // Anuluj
};

// The index of the chosen chart (0 or 1), or -1 when the dialog is cancelled.
int ChoosePrintChart(bool ForExport, bool ForAxes, QWidget* parent = nullptr);

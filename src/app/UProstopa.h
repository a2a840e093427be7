#pragma once
// The perpendicularity form "Wyliczenie prostopadłości osi": loads one straightness run per
// axis, shows each run less its reference line and the line's angle, and the angle between the
// axes. The calculation is evaluation/Perpendicularity; the form gathers the choices and shows.
#include <QString>
#include <functional>

#include "evaluation/Perpendicularity.h"
#include "foundations/FR_Utils.h"

class QFrame;
class QGroupBox;
class QLabel;
class QObject;
class QPushButton;
class TRadioGroup;

namespace platform {
class TChart;
class TLineSeries;
}  // namespace platform

class TFProstopa : public TSSForm {
    Q_OBJECT
public:
    explicit TFProstopa(QWidget* parent = nullptr);

    // Where the file dialog starts and its filter: the straightness entry of the main window's
    // ModeFilters (two "%s" for the extension). An empty filter offers ".dt4" files alone.
    QString StraightnessDir;
    QString StraightnessFilter;

    void FormCreate();
    // BWczytaj1, BWczytaj2, Chart1 and Chart2: BWczytaj1 or Chart1 loads axis 1, anything
    // else axis 2.
    void BWczytaj1Click(QObject* sender);
    // Both radio groups: both axes fitted again from their loaded runs, then the result.
    void RGStatystykaClick();
    void ChartMouseDown(platform::TChart* chart);
    void ChartMouseUp(platform::TChart* chart);
    // axis 0 or 1: fits the axis' run and shows its residuals and angle (nothing before a run
    // is loaded).
    void PlotAxisLine(int axis);
    void ShowPerpendicularity();
    void BitBtnPomocClick();

    // The design leaves this help button without a context; it opens the page of this form.
    static constexpr int HelpContext = 127;

    evaluation::PerpendicularityEval Eval;

    TRadioGroup* rgOs;
    TRadioGroup* RGStatystyka;
    QGroupBox* GBOs1;
    QGroupBox* GBOs2;
    QPushButton* BWczytaj1;
    QPushButton* BWczytaj2;
    QLabel* LPlik1;
    QLabel* LPlik2;
    platform::TChart* Chart1;
    platform::TChart* Chart2;
    platform::TLineSeries* Series1;
    platform::TLineSeries* Series2;
    QLabel* Label1;  // "Kąt nachylenia:" of axis 1
    QLabel* Label2;  // of axis 2
    QLabel* KatNachyl1;
    QLabel* KatNachyl2;
    QGroupBox* GBWyniki;
    QLabel* Label3;  // "Kąt między osiami wynosi:"
    QLabel* LabelWynik;
    QPushButton* BitBtnOk;
    QPushButton* BitBtnPomoc;

private:
    QFrame* bevelOf(platform::TChart* chart) const;
    void takeChoices();

    QFrame* bevel1_;
    QFrame* bevel2_;
};

// ProstopadloscClick of the main window: the form, modal, with the straightness folder and
// filter of the window.
void ShowPerpendicularityForm(const QString& straightnessDir, const QString& straightnessFilter,
                              QWidget* parent = nullptr);

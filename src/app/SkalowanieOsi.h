#pragma once
// "Skalowanie osi": automatic or fixed ends of one chart axis. The choice, its check and how it
// is put on the axis are plain code; the window shows and gathers it.
#include <QString>
#include <optional>

#include "foundations/FR_Utils.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace platform {
class TChartAxis;
}

// What the window edits; the ends are whole numbers, as its fields show them.
struct AxisScaleChoice {
    bool automatic = true;
    bool autoMaximum = true;
    bool autoMinimum = true;
    int maximum = 0;
    int minimum = 0;
    bool operator==(const AxisScaleChoice&) const = default;
};

// The axis as the window opens on it: its flags, and its ends to the nearest integer (ties to
// even, kept within the fields' range).
AxisScaleChoice AxisScaleOf(const platform::TChartAxis& axis);
// The message for a choice that is refused (two fixed ends with the minimum not below the
// maximum); nullopt when it can be put on the axis.
std::optional<QString> AxisScaleError(const AxisScaleChoice& choice);
// Puts an accepted choice on the axis: the automatic flag; when it is off the two end flags
// and the fixed ends. With "automatic" on the axis keeps its ends as they were.
void ApplyAxisScale(platform::TChartAxis& axis, const AxisScaleChoice& choice);

class TFSkalowanieOsi : public TSSForm {
    Q_OBJECT
public:
    static constexpr int HelpContext = 124;
    explicit TFSkalowanieOsi(QWidget* parent = nullptr);

    void Load(const AxisScaleChoice& choice, const QString& axisName);
    AxisScaleChoice Choice() const;

    // Ticked: both end boxes ticked and disabled; cleared: both enabled and cleared.
    void CheckBoxAllClick();
    // Ticked: its field disabled; cleared: enabled.
    void CheckBoxMaxClick();
    void CheckBoxMinClick();
    // OK: a refused choice is shown with its message and the window stays open.
    void BitBtn1Click();
    void BitBtnPomocClick();

    QLabel* Label1;
    QLabel* Os;
    QCheckBox* CheckBoxAll;
    QCheckBox* CheckBoxMax;
    QCheckBox* CheckBoxMin;
    QSpinBox* SpinMax;
    QSpinBox* SpinMin;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtnPomoc;
};

// Shows the window on the axis, named AxisName; on OK puts the choice on the axis. True on OK.
bool EditAxisScale(platform::TChartAxis& Axis, const QString& AxisName, QWidget* parent = nullptr);

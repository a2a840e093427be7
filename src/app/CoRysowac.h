#pragma once
// "Parametry": which characteristics of the positioning results the chart plots. Each check box
// stands for one series of the main window's positioning chart, or for a pair (the two lines of
// a band); the table and the reading and switching of the series are plain code over the chart.
#include <vector>

#include "foundations/FR_Utils.h"

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace platform {
class TChart;
}

// One check box: its component name, group and caption, and the series it shows or hides
// (`paired` empty for a single series).
struct CharacteristicCheck {
    const char* box;
    const char* group;
    const char* caption;
    const char* series;
    const char* paired;
};
// The twelve boxes in the window's order.
const std::vector<CharacteristicCheck>& CharacteristicChecks();
// Whether the box's characteristic is shown: from its first series (false when the chart has
// no such series).
bool CharacteristicShown(const platform::TChart& chart, const CharacteristicCheck& check);
// Shows or hides the box's series (both of a pair); series the chart lacks are skipped.
void ShowCharacteristic(platform::TChart& chart, const CharacteristicCheck& check, bool on);

class TFCoRysowac : public TSSForm {
    Q_OBJECT
public:
    static constexpr int HelpContext = 120;
    explicit TFCoRysowac(QWidget* parent = nullptr);

    // Ticks each box from the chart's series; on OK each box switches its series.
    void ReadChart(const platform::TChart& chart);
    void ApplyToChart(platform::TChart& chart) const;
    // The handler of both buttons: ticks every box when Sender is Button1, clears them otherwise.
    void Button1Click(QObject* Sender);
    void ButtonPomocClick();

    // Creates the window on the chart, shows it modally and on OK shows or hides the chart's
    // characteristics as the boxes say; Cancel changes nothing. True on OK.
    static bool SetChecks(platform::TChart& chart, QWidget* parent = nullptr);

    // The box of a component name (nullptr for an unknown name).
    QCheckBox* Box(const char* name) const;

    QCheckBox *CBXa, *CBXr, *CBXar, *CBSga, *CBSgr, *CBSgar, *CBPomiaryWPrzod, *CBPomiaryWTyl, *CBLuzZwrotny,
        *cbSredniaVDI, *cbXpmA, *cbXpmU;
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3, *GroupBox4;
    QPushButton *Button1, *Button2, *ButtonPomoc, *BitBtn1, *BitBtn2;

private:
    std::vector<QCheckBox*> boxes_;  // in the order of CharacteristicChecks()
};

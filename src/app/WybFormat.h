#pragma once
// The compensation-table format dialog "Wybierz format": format, measuring system, base point
// and axis. The rules of what it offers live in evaluation/CompensationTables.h; the dialog
// shows them and reads the choices back.
#include <cstdint>

#include "evaluation/CompensationTables.h"
#include "foundations/FR_Utils.h"
#include "foundations/PomiarCol.h"

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

class TFWybFormat : public TSSForm {
    Q_OBJECT
public:
    explicit TFWybFormat(QWidget* parent = nullptr);

    // Presets the dialog: the base point list from Points, then the remembered choices (an
    // unknown format shows Linear, an index outside its list item 0).
    void LoadChoice(const evaluation::CompTableChoice& remembered, const TPunkt& Points);
    // The choices as the dialog shows them (Format = the selected format, 0..4).
    evaluation::CompTableChoice Choice() const;

    // Enables the choices the selected format uses and refills the axis list for Siemens and
    // Fanuc.
    void CBFormatChange();

    QComboBox* CBFormat;
    QComboBox* CBSystem;
    QComboBox* CBPunktBazowy;
    QComboBox* CBOs;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QFrame* Bevel1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
};

// Shows the dialog preset with `choice` and the base point list of Points. On OK returns the
// chosen format (0..4) and stores all four choices in `choice`; otherwise returns 5, sets
// choice.Format to 5 and leaves the other choices as they were.
uint8_t ChooseCompensationFormat(evaluation::CompTableChoice& choice, const TPunkt& Points,
                                 QWidget* parent = nullptr);

#pragma once
// The measuring program dialog "Generuj trasę": base point, axis, step, point and cycle counts
// for the main window's cycle pattern; OK asks for the file and writes the program (Gcodes.h).
#include "app/Gcodes.h"
#include "foundations/FR_Utils.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

class TForm_Gcodes : public TSSForm {
    Q_OBJECT
public:
    // `positioningMethod` is the main window's PositioningMethod (0 linear, 1 pilgrim, 2 pilgrim 2).
    explicit TForm_Gcodes(int positioningMethod, QWidget* parent = nullptr);

    void AfterTranslate() override;
    // The inputs as the controls show them.
    GcodeRouteInputs Inputs() const;
    // OK: refused inputs keep the form open with a message; a cancelled file dialog closes the
    // form and writes nothing; a write error keeps the form open, so the inspector can choose
    // another file; a written file closes it.
    void BitBtn1Click();

    QGroupBox* GroupBox1;
    QSpinBox* BazaX;
    QSpinBox* BazaY;
    QSpinBox* BazaZ;
    QComboBox* WyborOsi;
    QSpinBox* Krok;
    QSpinBox* IloscPunktow;
    QSpinBox* IloscCykli;
    QLabel* LabelMetPom;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

private:
    int method_;
};

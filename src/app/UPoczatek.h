#pragma once
// Splash form shown while the program builds its main objects.
#include "foundations/FR_Utils.h"

class QLabel;
class QFrame;

class TPoczatekForm : public TSSForm {
    Q_OBJECT
public:
    explicit TPoczatekForm(QWidget* parent = nullptr);

    QLabel* Image1;
    QFrame* Bevel1;
    QLabel* Label1;
    QFrame* Bevel2;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* LabNazwaSys;

    void FormCreate() {}
};

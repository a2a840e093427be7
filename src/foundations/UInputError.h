#pragma once
// Dialog that asks for one value, used to let the inspector correct a target value.
#include "foundations/FR_Utils.h"

class QLabel;
class QPushButton;
class TRealSpinEdit;

class TFInputError : public TSSForm {
    Q_OBJECT
public:
    explicit TFInputError(QWidget* parent = nullptr);

    // Shows Value, runs the dialog; the entered value on OK, Value unchanged otherwise.
    static double EditValue(double value, QWidget* parent = nullptr);

    TRealSpinEdit* RealSpinEdit1;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* BitBtn1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

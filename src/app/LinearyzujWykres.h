#pragma once
// The warning at the end of a positioning run in which neighbouring deviations jumped far
// apart: the machine's error is large and the run is worth checking point by point. A plain
// window, not translated.
#include <QDialog>

class QLabel;
class QPushButton;

class TFormLinearyzujWykres : public QDialog {
    Q_OBJECT
public:
    explicit TFormLinearyzujWykres(QWidget* parent = nullptr);

    QLabel* Label1;  // "DUŻY BŁĄD MASZYNY"
    QLabel* Label2;  // the advice
    QPushButton* Button1;
};

// Shows the warning modally. When message boxes are answered by a hook (tests), the hook gets
// it as an error box with the two lines and an OK button instead.
void ShowLargeErrorWarning(QWidget* parent = nullptr);

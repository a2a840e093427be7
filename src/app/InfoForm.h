#pragma once
// The information form: a question of two lines under a caption of the caller's, answered
// "&Tak", "&Nie" or "Anuluj" (the main window's save question).
#include "foundations/FR_Utils.h"

class QLabel;
class QPushButton;

class TInfoForm : public TSSForm {
    Q_OBJECT
public:
    explicit TInfoForm(QWidget* parent = nullptr);

    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* BitBtn1;  // "&Tak": 6
    QPushButton* BitBtn2;  // "&Nie": 7
    QPushButton* BitBtn3;  // "Anuluj": 2

public slots:
    // Escape and the close box answer Cancel.
    void reject() override;
};

// Shows the form with Line1 and Line2 under Caption and returns 6 (Yes), 7 (No) or 2 (Cancel).
// When message boxes are answered by a hook (tests), the hook gets the question as a warning
// box with Yes, No and Cancel and the two lines as its text; an answer other than Yes or No
// counts as Cancel.
int ShowInfoForm(const QString& Line1, const QString& Line2, const QString& Caption, QWidget* parent = nullptr);

#pragma once
// The question where an inserted positioning cycle comes from: measured now or read from a file.
#include "foundations/FR_Utils.h"

class QLabel;
class QPushButton;

class TZrWsDlg : public TSSForm {
    Q_OBJECT
public:
    // The window's results, as the review page's insert command reads them.
    enum : int { FromMeasurement = 1, Cancelled = 2, FromFile = 7 };

    explicit TZrWsDlg(QWidget* parent = nullptr);

    // Shows the question modally: 1 "&Pomiar", 7 "Pli&k", 2 "Anuluj" (also Escape and closing).
    static int Execute(QWidget* parent = nullptr);

    QLabel* Label1;
    QPushButton* OKBtn;      // "&Pomiar", the default button
    QPushButton* PlikBtn;    // "Pli&k"
    QPushButton* CancelBtn;  // "Anuluj"

public slots:
    // Escape and the window's close box answer Cancel, never the file.
    void reject() override { done(Cancelled); }
};

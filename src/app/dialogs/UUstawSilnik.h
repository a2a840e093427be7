#pragma once
// "Wstępne ustawienie odbłyśnika ": turning the motorised reflector by hand before an angular
// run. The motor is powered on when the dialog is made and stops whenever the dialog loses
// focus or is hidden.
#include "foundations/FR_Utils.h"
#include "instrument/CommandLink.h"

class QToolButton;
class QButtonGroup;

class TFUstawSilnik : public TSSForm {
    Q_OBJECT
public:
    // Without a link the program's link is used.
    explicit TFUstawSilnik(ICommandLink* link = nullptr, QWidget* parent = nullptr);

    // Speed buttons of one group: the one pressed stays down.
    QToolButton* SBLewo;   // "Obrót w &lewo"
    QToolButton* SBStop;   // "&Stop"
    QToolButton* SBPrawo;  // "Obrót w &prawo"

    void FormCreate();
    void SBLewoClick();
    void SBPrawoClick();
    void SBStopClick();
    void FormDeactivate();

protected:
    bool event(QEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    ICommandLink& link_;
    QButtonGroup* group_;
};

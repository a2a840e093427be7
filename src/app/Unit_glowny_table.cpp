// The measured-cycles table command and the default point lists beside the program.
#include <QAction>
#include <QPushButton>
#include <QStackedWidget>

#include "app/MeasurementTable.h"
#include "app/PositioningPage.h"
#include "app/PositioningRun.h"
#include "app/Unit_glowny.h"
#include "foundations/MessageDlg.h"

namespace {
constexpr int kPagePositioning = 3;
constexpr int kPageTable = 7;
}  // namespace

void TMainForm::TabelaPomiarowClick() {
    if (QAction* a = MenuCommand(QStringLiteral("Start1"))) a->setEnabled(false);
    const int cycle = PositioningControl().CurrentCycle();  // 32-bit: every cycle can be listed
    static const TPunkt none;
    const TPunkt& points = cycle >= 1 && cycle <= PositioningCycles->Count() ? (*PositioningCycles)[cycle - 1].Punkt : none;
    TableView->Fill(points, MeasurementTableHeadings(PointColumnCaption, DistanceColumnCaption));
    NotebookMainForm->setCurrentIndex(kPageTable);
}

void TMainForm::ReturnFromTable() {
    if (QAction* a = MenuCommand(QStringLiteral("Start1"))) a->setEnabled(Positioning().StartButton() && Positioning().StartButton()->isEnabled());
    NotebookMainForm->setCurrentIndex(kPagePositioning);
}

void TMainForm::LoadDefaultPointLists() {
    const DefaultListsLoaded r = ::LoadDefaultPointLists(*TargetPoints, *AngularTargetPoints, ProgramDir);
    if (r.positioning)
        if (QAction* a = MenuCommand(QStringLiteral("PunktyPozycjonowania1"))) a->setEnabled(true);
}

void TMainForm::SaveDefaultPointLists() {
    const DefaultListsSaved r = ::SaveDefaultPointLists(*TargetPoints, *AngularTargetPoints, ProgramDir);
    if (TargetPoints->Count() == 0)
        if (QAction* a = MenuCommand(QStringLiteral("PunktyZListy"))) a->setChecked(false);
    // The program is closing: a list that could not be written is said once, not lost silently.
    if (!r.errors.isEmpty()) MessageDlg(r.errors.join(u'\n'), TMsgDlgType::mtError, mbOK);
}

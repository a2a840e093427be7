// The measured-cycles table command and the default point lists beside the program.
#include <QAction>
#include <QPushButton>
#include <QStackedWidget>

#include "app/MeasurementTable.h"
#include "app/PositioningPage.h"
#include "app/PositioningRun.h"
#include "app/StartupChecks.h"
#include "app/Unit_glowny.h"
#include "platform/SafeSave.h"
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
    // A damaged list is copied aside before anything writes the name again; one that cannot be
    // copied is left alone.
    auto damaged = [this](bool isDamaged, const QString& path, bool& keep) {
        keep = false;
        if (!isDamaged) return;
        const QString copy = platform::KeepDamagedCopy(path);
        keep = copy.isEmpty();
        ShowStartupMessage(DamagedPointListMessage(path, copy), TMsgDlgType::mtWarning);
    };
    damaged(r.positioningDamaged, DefaultPositioningListPath(ProgramDir), keepDamagedPositioningList_);
    damaged(r.angularDamaged, DefaultAngularListPath(ProgramDir), keepDamagedAngularList_);
}

void TMainForm::SaveDefaultPointLists() {
    static const TPunkt none;  // a list that is not to be written
    const DefaultListsSaved r = ::SaveDefaultPointLists(keepDamagedPositioningList_ ? none : *TargetPoints,
                                                        keepDamagedAngularList_ ? none : *AngularTargetPoints, ProgramDir);
    if (TargetPoints->Count() == 0)
        if (QAction* a = MenuCommand(QStringLiteral("PunktyZListy"))) a->setChecked(false);
    // The program is closing: a list that could not be written is said once, not lost silently.
    if (!r.errors.isEmpty()) MessageDlg(r.errors.join(u'\n'), TMsgDlgType::mtError, mbOK);
}

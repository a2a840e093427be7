// Menu commands of the main window that open a dialog or switch a view: the view menu's panels,
// the compensation table, the route generator, text import, the 3-D view, the machine limits,
// the base length, the about box and the chart axis scaling.
#include <QAction>
#include <QFrame>
#include <QTableWidget>

#include "app/Unit_glowny.h"
#include "foundations/MeasurementModes.h"

void TMainForm::ConnectMenuCommands() {
    // The view menu: a ticked command shows its panel of the positioning page (the page that
    // straightness shares keeps them hidden; the page's entry shows them by the ticks).
    if (QAction* a = MenuCommand(QStringLiteral("MenuItemWartosczadana")))
        connect(a, &QAction::toggled, this, [this](bool on) {
            if (PanelWarZadana && MeasurementMode == kModePositioning) PanelWarZadana->setVisible(on);
        });
    if (QAction* a = MenuCommand(QStringLiteral("MenuItemTabelkaOdchylek")))
        connect(a, &QAction::toggled, this, [this](bool on) {
            if (GridOdchylka && MeasurementMode == kModePositioning) GridOdchylka->setVisible(on);
        });
}

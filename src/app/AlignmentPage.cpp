// The alignment page: its chart.
#include "app/AlignmentPage.h"

#include <QVBoxLayout>
#include <QWidget>

#include "app/PageControls.h"

using namespace pagecontrols;

AlignmentPage::AlignmentPage(QObject* owner) : QObject(owner) {}

QWidget* AlignmentPage::Build() {
    auto* page = named(new QWidget, "Justowanie");
    auto* lay = new QVBoxLayout(page);
    WykresJustowanie = chart(page, "WykresJustowanie");
    lay->addWidget(WykresJustowanie, 1);
    return page;
}

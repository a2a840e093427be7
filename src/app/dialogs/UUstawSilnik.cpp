#include "app/dialogs/UUstawSilnik.h"

#include <QButtonGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

#include "instrument/MotorDrive.h"

namespace {

QToolButton* speedButton(QWidget* parent, const char* name, const char* text, QStyle::StandardPixmap icon) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(QString::fromUtf8(text));
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setCheckable(true);
    b->setMinimumSize(110, 56);
    return b;
}

}  // namespace

TFUstawSilnik::TFUstawSilnik(ICommandLink* link, QWidget* parent)
    : TSSForm(parent), link_(link ? *link : RealCommandLink()) {
    setObjectName("FUstawSilnik");
    setWindowTitle(QString::fromUtf8("Wstępne ustawienie odbłyśnika "));

    SBLewo = speedButton(this, "SBLewo", "Obrót w &lewo", QStyle::SP_ArrowLeft);
    SBStop = speedButton(this, "SBStop", "&Stop", QStyle::SP_MediaStop);
    SBPrawo = speedButton(this, "SBPrawo", "Obrót w &prawo", QStyle::SP_ArrowRight);
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    for (QToolButton* b : {SBLewo, SBStop, SBPrawo}) group_->addButton(b);

    auto* lay = new QHBoxLayout(this);
    lay->setContentsMargins(16, 16, 16, 16);
    lay->setSpacing(12);
    lay->addWidget(SBLewo);
    lay->addWidget(SBStop);
    lay->addWidget(SBPrawo);

    connect(SBLewo, &QToolButton::clicked, this, [this] { SBLewoClick(); });
    connect(SBPrawo, &QToolButton::clicked, this, [this] { SBPrawoClick(); });
    connect(SBStop, &QToolButton::clicked, this, [this] { SBStopClick(); });

    FinishCreate();
    FormCreate();
}

void TFUstawSilnik::FormCreate() { instrument::MotorPowerOn(link_); }

void TFUstawSilnik::SBLewoClick() {
    SBLewo->setChecked(true);
    instrument::MotorTurnLeft(link_);
}

void TFUstawSilnik::SBPrawoClick() {
    SBPrawo->setChecked(true);
    instrument::MotorTurnRight(link_);
}

void TFUstawSilnik::SBStopClick() {
    SBStop->setChecked(true);
    instrument::MotorStop(link_);
}

void TFUstawSilnik::FormDeactivate() { SBStopClick(); }

bool TFUstawSilnik::event(QEvent* e) {
    if (e->type() == QEvent::WindowDeactivate) FormDeactivate();
    return TSSForm::event(e);
}

void TFUstawSilnik::hideEvent(QHideEvent* e) {
    // Closing the dialog by any way leaves no motor turning (a platform may not deactivate it
    // first).
    if (MotorRunning.load()) SBStopClick();
    TSSForm::hideEvent(e);
}

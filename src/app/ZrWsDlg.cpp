#include "app/ZrWsDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/DialogParts.h"

TZrWsDlg::TZrWsDlg(QWidget* parent) : TSSForm(parent) {
    setObjectName("ZrWsDlg");
    setWindowTitle(QStringLiteral("Vkm30"));
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(20, 16, 20, 12);
    main->setSpacing(14);
    Label1 = new QLabel(QString::fromUtf8("Podaj źródło wstawienia."), this);
    Label1->setObjectName("Label1");
    Label1->setAlignment(Qt::AlignCenter);
    main->addWidget(Label1);

    OKBtn = NamedButton(this, "OKBtn", QStringLiteral("&Pomiar"));
    OKBtn->setDefault(true);
    PlikBtn = NamedButton(this, "PlikBtn", QStringLiteral("Pli&k"));
    CancelBtn = NamedButton(this, "CancelBtn", QStringLiteral("Anuluj"));
    main->addLayout(ButtonRow({OKBtn, PlikBtn, CancelBtn}, true));
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKBtn, &QPushButton::clicked, this, [this] { done(FromMeasurement); });
    connect(PlikBtn, &QPushButton::clicked, this, [this] { done(FromFile); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(Cancelled); });
    FinishCreate();
}

int TZrWsDlg::Execute(QWidget* parent) {
    TZrWsDlg dlg(parent);
    return dlg.exec();
}

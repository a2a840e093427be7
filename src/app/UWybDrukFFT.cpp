#include "app/UWybDrukFFT.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "app/DialogParts.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RadioGroup.h"

TFWybDrukFFT::TFWybDrukFFT(QWidget* parent) : TSSForm(parent) {
    setObjectName(QStringLiteral("FWybDrukFFT"));
    setWindowTitle(QStringLiteral("Co drukować?"));
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(16, 14, 16, 12);
    main->setSpacing(10);
    Label1 = new QLabel(QStringLiteral("Wybierz wykres, który chcesz drukować"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    main->addWidget(Label1);
    RadioGroup1 = new TRadioGroup(QString(), {QStringLiteral("Wykres czasowy"), QStringLiteral("Wykres częstotliwościowy")},
                                  this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->SetItemIndex(0);
    main->addWidget(RadioGroup1);
    BitBtn1 = NamedButton(this, "BitBtn1", QStringLiteral("OK"));
    BitBtn1->setDefault(true);
    BitBtn2 = NamedButton(this, "BitBtn2", QStringLiteral("Anuluj"));
    main->addLayout(ButtonRow({BitBtn1, BitBtn2}, true));
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    FinishCreate();
}

int ChoosePrintChart(bool ForExport, bool ForAxes, QWidget* parent) {
    TFWybDrukFFT dlg(parent);
    if (ForExport) {
        dlg.Label1->setText(Msg(QStringLiteral("stCoEksportowac")));
        dlg.setWindowTitle(Msg(QStringLiteral("stCoEksportowac1")));
    } else {
        dlg.Label1->setText(Msg(QStringLiteral("stCoDrukowac")));
        dlg.setWindowTitle(Msg(QStringLiteral("stCoDrukowac1")));
    }
    if (ForAxes) {
        dlg.RadioGroup1->setItem(0, Msg(QStringLiteral("stOsPozioma")));
        dlg.RadioGroup1->setItem(1, Msg(QStringLiteral("stOsPionowa")));
    }
    dlg.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, dlg.sizeHint(),
                                        dlg.screen() ? dlg.screen()->availableGeometry() : QRect()));
    if (dlg.exec() != QDialog::Accepted) return -1;
    return dlg.RadioGroup1->ItemIndex();
}

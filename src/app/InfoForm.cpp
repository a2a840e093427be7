#include "app/InfoForm.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/DialogParts.h"
#include "foundations/MessageDlg.h"

TInfoForm::TInfoForm(QWidget* parent) : TSSForm(parent) {
    setObjectName("InfoForm");
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(20, 16, 20, 12);
    main->setSpacing(14);
    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(40, 40));
    Image1->setAlignment(Qt::AlignTop);
    top->addWidget(Image1);
    auto* lines = new QVBoxLayout;
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label2 = new QLabel(this);
    Label2->setObjectName("Label2");
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    lines->addWidget(Label1);
    lines->addWidget(Label2);
    lines->addStretch();
    top->addLayout(lines, 1);
    main->addLayout(top);

    BitBtn1 = NamedButton(this, "BitBtn1", QStringLiteral("&Tak"));
    BitBtn1->setDefault(true);
    BitBtn2 = NamedButton(this, "BitBtn2", QStringLiteral("&Nie"));
    BitBtn3 = NamedButton(this, "BitBtn3", QStringLiteral("Anuluj"));
    main->addLayout(ButtonRow({BitBtn1, BitBtn2, BitBtn3}, true));
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { done(mrYes); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { done(mrNo); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { done(mrCancel); });
    FinishCreate();
}

void TInfoForm::reject() { done(mrCancel); }

int ShowInfoForm(const QString& Line1, const QString& Line2, const QString& Caption, QWidget* parent) {
    const MessageDlgRequest asked{Line1 + u'\n' + Line2, Caption, TMsgDlgType::mtWarning, mbYes | mbNo | mbCancel};
    int r;
    if (const auto answer = AnswerByMessageDlgHook(asked)) {
        r = *answer;
    } else {
        TInfoForm form(parent);
        form.Label1->setText(Line1);
        form.Label2->setText(Line2);
        form.setWindowTitle(Caption);
        r = form.exec();
    }
    return (r == mrYes || r == mrNo) ? r : int(mrCancel);
}

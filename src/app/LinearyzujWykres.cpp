#include "app/LinearyzujWykres.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/DialogParts.h"
#include "foundations/FR_Utils.h"
#include "foundations/MessageDlg.h"

TFormLinearyzujWykres::TFormLinearyzujWykres(QWidget* parent) : QDialog(parent) {
    setObjectName("FormLinearyzujWykres");
    setWindowTitle(QString::fromUtf8("Błąd"));
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(24, 18, 24, 14);
    main->setSpacing(12);
    Label1 = new QLabel(QString::fromUtf8("DUŻY BŁĄD MASZYNY"), this);
    Label1->setObjectName("Label1");
    Label1->setAlignment(Qt::AlignCenter);
    QFont big = Label1->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    Label1->setFont(big);
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, QColor(0xC0, 0, 0));
    Label1->setPalette(red);
    Label2 = new QLabel(QString::fromUtf8("Zalecane sprawdzenie pomiaru w modzie \"Pomiar/Punkty z listy\"."), this);
    Label2->setObjectName("Label2");
    Label2->setAlignment(Qt::AlignCenter);
    main->addWidget(Label1);
    main->addWidget(Label2);

    Button1 = NamedButton(this, "Button1", QStringLiteral("Ok"));
    Button1->setDefault(true);
    main->addLayout(ButtonRow({Button1}, true));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    TranslateForm(this);
}

void ShowLargeErrorWarning(QWidget* parent) {
    TFormLinearyzujWykres dlg(parent);
    const MessageDlgRequest asked{dlg.Label1->text() + u'\n' + dlg.Label2->text(), dlg.windowTitle(),
                                  TMsgDlgType::mtError, mbOK};
    if (AnswerByMessageDlgHook(asked)) return;
    dlg.exec();
}

#include "app/Informacje.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/DialogParts.h"

std::function<bool(const QUrl&)> Tinformacje::OpenUrl;

namespace {

// The program's mark: a laser beam leaving the head towards a reflector.
QPixmap programPicture() {
    QPixmap pm(64, 64);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(0x40, 0x50, 0x70));
    p.drawRoundedRect(QRectF(4, 22, 20, 20), 3, 3);
    p.setBrush(QColor(0xC0, 0xC0, 0xC0));
    p.drawPolygon(QPolygonF({QPointF(48, 16), QPointF(60, 32), QPointF(48, 48)}));
    p.setPen(QPen(QColor(0xE0, 0x10, 0x10), 2));
    p.drawLine(QPointF(24, 28), QPointF(52, 28));
    p.drawLine(QPointF(52, 36), QPointF(24, 36));
    return pm;
}

}  // namespace

Tinformacje::Tinformacje(QWidget* parent) : TSSForm(parent) {
    setObjectName("informacje");
    setWindowTitle(QStringLiteral("O programie"));
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(16, 16, 16, 12);
    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    auto* grid = new QHBoxLayout(panel);
    grid->setContentsMargins(14, 14, 18, 14);
    grid->setSpacing(16);
    ProgramIcon = new QLabel(panel);
    ProgramIcon->setObjectName("ProgramIcon");
    ProgramIcon->setPixmap(programPicture());
    ProgramIcon->setAlignment(Qt::AlignTop);
    grid->addWidget(ProgramIcon);
    auto* texts = new QVBoxLayout;
    ProductName = new QLabel(QStringLiteral("VKM 30"), panel);
    ProductName->setObjectName("ProductName");
    QFont big = ProductName->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    ProductName->setFont(big);
    Version = new QLabel(QStringLiteral("Wersja ") + QString::fromLatin1(kProgramVersion), panel);
    Version->setObjectName("Version");
    Comments = new QLabel(QStringLiteral("Laserowy system pomiarowy obrabiarek"), panel);
    Comments->setObjectName("Comments");
    LabelWWW = new QLabel(QStringLiteral("<a href=\"%1\">%2</a>")
                              .arg(MakerWebPage, QString(MakerWebPage).remove(QStringLiteral("http://"))),
                          panel);
    LabelWWW->setVisible(!MakerWebPage.isEmpty());
    LabelWWW->setObjectName("LabelWWW");
    LabelWWW->setTextFormat(Qt::RichText);
    LabelWWW->setCursor(Qt::PointingHandCursor);
    for (QLabel* l : {ProductName, Version, Comments, LabelWWW}) texts->addWidget(l);
    texts->addStretch();
    grid->addLayout(texts, 1);
    main->addWidget(panel);

    OKButton = NamedButton(this, "OKButton", QStringLiteral("OK"));
    OKButton->setDefault(true);
    main->addLayout(ButtonRow({OKButton}, true));
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(LabelWWW, &QLabel::linkActivated, this, [this] { LabelWWWClick(); });
    FinishCreate();
}

QString Tinformacje::MakerWebPage;

void Tinformacje::LabelWWWClick() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (MakerWebPage.isEmpty()) return;
    const QUrl url(MakerWebPage);
    if (OpenUrl)
        OpenUrl(url);
    else
        QDesktopServices::openUrl(url);
    QApplication::restoreOverrideCursor();
}

void ShowAboutBox(QWidget* parent) {
    auto* box = new Tinformacje(parent);
    box->exec();
    box->deleteLater();
}

#include "app/Podstawka.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "app/DialogParts.h"
#include "foundations/MessageDlg.h"
#include "foundations/NumberFormat.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RealSpinEdit.h"

namespace {

constexpr double kMmToInch = 0.03937007874015748;
constexpr double kInchToMm = 25.4;

// The base seen from the side: the optics on a bar with two feet, and its length L.
QPixmap basePicture() {
    QPixmap pm(150, 72);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(0x60, 0x80, 0xB0));
    p.drawRect(QRectF(52, 6, 46, 22));  // the optics
    p.setBrush(QColor(0xB8, 0xB8, 0xB8));
    p.drawRect(QRectF(15, 28, 120, 10));  // the bar
    p.drawRect(QRectF(15, 38, 10, 8));    // the feet
    p.drawRect(QRectF(125, 38, 10, 8));
    p.drawLine(QPointF(20, 50), QPointF(20, 66));
    p.drawLine(QPointF(130, 50), QPointF(130, 66));
    p.drawLine(QPointF(20, 58), QPointF(130, 58));
    p.setBrush(Qt::black);
    for (const auto& [tip, dir] : {std::pair{QPointF(20, 58), 1.0}, std::pair{QPointF(130, 58), -1.0}}) {
        QPainterPath arrow;
        arrow.moveTo(tip);
        arrow.lineTo(tip + QPointF(6 * dir, -3));
        arrow.lineTo(tip + QPointF(6 * dir, 3));
        arrow.closeSubpath();
        p.drawPath(arrow);
    }
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(QColor(0xF0, 0xF0, 0xF0));
    p.drawText(QRectF(65, 50, 20, 16), Qt::AlignCenter, QStringLiteral("L"));
    return pm;
}

}  // namespace

double BaseLengthShown(int unit, double mm) { return unit == 1 ? mm * kMmToInch : mm; }
double BaseLengthFromShown(int unit, double shown) { return unit == 1 ? shown * kInchToMm : shown; }

std::optional<QString> BaseLengthError(int unit, const QString& typed) {
    const std::optional<double> v = foundations::parseUserReal(typed);
    if (v && std::isfinite(*v) && *v > 0.0 && BaseLengthFromShown(unit, *v) <= kMaxBaseLengthMm) return std::nullopt;
    const QChar sep = foundations::systemDecimalSeparator();
    const QString longest = unit == 1 ? foundations::formatFixed(kMaxBaseLengthMm * kMmToInch, 15, 3, sep) +
                                            QStringLiteral(" in")
                                      : foundations::formatFixed(kMaxBaseLengthMm, 15, 0, sep) + QStringLiteral(" mm");
    return FillPlaceholder(TranslateString(QStringLiteral("stZlaPodstawka"),
                                           QString::fromUtf8("Długość podstawki musi być liczbą większą od zera "
                                                             "i nie większą niż %s.")),
                           longest);
}

TFPodstawka::TFPodstawka(QWidget* parent) : TSSForm(parent) {
    setObjectName("FPodstawka");
    setWindowTitle(QString::fromUtf8("Długość podstawki"));
    setProperty("HelpContext", HelpContext);
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(18, 14, 18, 12);
    main->setSpacing(12);
    auto* top = new QHBoxLayout;
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setPixmap(basePicture());
    top->addWidget(Image1);
    auto* entry = new QVBoxLayout;
    Label1 = new QLabel(QString::fromUtf8("Długość podstawki:"), this);
    Label1->setObjectName("Label1");
    SpinEdit1 = new TRealSpinEdit(this);
    SpinEdit1->setObjectName("SpinEdit1");
    SpinEdit1->SetMinus(false);
    SpinEdit1->installEventFilter(this);
    Label1->setBuddy(SpinEdit1);
    Label2 = new QLabel(QStringLiteral("[mm]"), this);
    Label2->setObjectName("Label2");
    auto* field = new QHBoxLayout;
    field->addWidget(SpinEdit1);
    field->addWidget(Label2);
    entry->addStretch();
    entry->addWidget(Label1);
    entry->addLayout(field);
    entry->addStretch();
    top->addSpacing(10);
    top->addLayout(entry);
    main->addLayout(top);

    BitBtn1 = NamedButton(this, "BitBtn1", QStringLiteral("OK"));
    BitBtn1->setDefault(true);
    BitBtn2 = NamedButton(this, "BitBtn2", QStringLiteral("Anuluj"));
    BitBtnPomoc = NamedButton(this, "BitBtnPomoc", QStringLiteral("&Pomoc"));
    main->addLayout(ButtonRow({BitBtn1, BitBtn2, BitBtnPomoc}));
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(BitBtn1, &QPushButton::clicked, this, &TFPodstawka::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtnPomoc, &QPushButton::clicked, this, &TFPodstawka::BitBtnPomocClick);
    SetUp(0, 100.0);
    FinishCreate();
}

void TFPodstawka::SetUp(int unit, double valueMm) {
    unit_ = unit == 1 ? 1 : 0;
    Label2->setText(unit_ == 1 ? QStringLiteral("[in]") : QStringLiteral("[mm]"));
    SpinEdit1->SetPrecision(unit_ == 1 ? 3 : 0);
    SpinEdit1->SetIncrement(unit_ == 1 ? 0.1 : 1.0);
    SpinEdit1->SetValue(BaseLengthShown(unit_, valueMm));
}

double TFPodstawka::LengthMm() const { return BaseLengthFromShown(unit_, SpinEdit1->Value()); }

void TFPodstawka::BitBtn1Click() {
    if (const auto error = BaseLengthError(unit_, SpinEdit1->text())) {
        MessageDlg(*error, TMsgDlgType::mtError, mbOK);
        SpinEdit1->setFocus();
        SpinEdit1->selectAll();
        return;
    }
    accept();
}

void TFPodstawka::BitBtnPomocClick() { ShowHelpContext(HelpContext); }

bool TFPodstawka::eventFilter(QObject* watched, QEvent* event) {
    if (watched == SpinEdit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            BitBtn1->click();
            return true;
        }
        if (key == Qt::Key_Escape) {
            BitBtn2->click();
            return true;
        }
    }
    return TSSForm::eventFilter(watched, event);
}

double AskBaseLength(int Unit, double Value, QWidget* parent) {
    // Released rather than freed: it goes once its pending events are served.
    auto* dlg = new TFPodstawka(parent);
    dlg->SetUp(Unit, Value);
    dlg->SpinEdit1->setFocus();
    const bool ok = dlg->exec() == QDialog::Accepted;
    const double result = ok ? dlg->LengthMm() : Value;
    dlg->deleteLater();
    return result;
}

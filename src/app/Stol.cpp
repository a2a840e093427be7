#include "app/Stol.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "app/HelpWindow.h"
#include "foundations/MessageDlg.h"
#include "foundations/RadioGroup.h"

using namespace tablelines;

namespace {

TWyborOsi::ExecuteHook& executeHook() {
    static TWyborOsi::ExecuteHook hook;
    return hook;
}

const QSize kPictureSize(400, 250);

void drawArrow(QPainter& p, const Segment& arrow) {
    p.drawLine(arrow.start, arrow.end);
    const QPointF tip = arrow.end;
    const QPointF d = QPointF(arrow.end - arrow.start);
    const double length = std::hypot(d.x(), d.y());
    if (length <= 0) return;
    const QPointF along = d / length, across(-along.y(), along.x());
    QPolygonF head;
    head << tip << tip - 8 * along + 4 * across << tip - 8 * along - 4 * across;
    p.drawPolygon(head);
}

}  // namespace

TTablePaintBox::TTablePaintBox(QWidget* parent) : QWidget(parent) {}

void TTablePaintBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, bitmap);
}

void TTablePaintBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit leftPressed(event->position().toPoint());
}


void TWyborOsi::setExecuteHook(ExecuteHook hook) { executeHook() = std::move(hook); }

TWyborOsi::TWyborOsi(QWidget* parent) : TSSForm(parent) {
    setObjectName("WyborOsi");
    setWindowTitle(QString::fromUtf8("Wybór Osi Pomiarowej"));
    setProperty("HelpContext", HelpContext);

    auto* main = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* pictureColumn = new QVBoxLayout;
    PaintBox1 = new TTablePaintBox(this);
    PaintBox1->setObjectName("PaintBox1");
    PaintBox1->setFixedSize(kPictureSize);
    pictureColumn->addWidget(PaintBox1);

    // The laser stands at the table's lower left corner, where the first lines start.
    auto* laserRow = new QHBoxLayout;
    PanelLaser = new QLabel("Laser", this);
    PanelLaser->setObjectName("PanelLaser");
    PanelLaser->setAlignment(Qt::AlignCenter);
    PanelLaser->setAutoFillBackground(true);
    PanelLaser->setStyleSheet("background-color: black; color: white; font-weight: bold;");
    PanelLaser->setFixedSize(64, 26);
    ShapeLaser = new QFrame(this);
    ShapeLaser->setObjectName("ShapeLaser");
    ShapeLaser->setStyleSheet("background-color: black;");
    ShapeLaser->setFixedSize(14, 10);
    laserRow->addWidget(PanelLaser);
    laserRow->addWidget(ShapeLaser);
    laserRow->addStretch();
    pictureColumn->addLayout(laserRow);
    top->addLayout(pictureColumn);

    RadioGroupOsie = new TRadioGroup(QString::fromUtf8("Wybrana oś"), {}, this);
    RadioGroupOsie->setObjectName("RadioGroupOsie");
    RadioGroupOsie->SetColumns(2);
    top->addWidget(RadioGroupOsie, 0, Qt::AlignTop);
    main->addLayout(top);

    auto* buttons = new QHBoxLayout;
    BitBtnOk = new QPushButton("&OK", this);
    BitBtnOk->setObjectName("BitBtnOk");
    BitBtnOk->setDefault(true);
    BitBtnCancel = new QPushButton("Anuluj", this);
    BitBtnCancel->setObjectName("BitBtnCancel");
    BitBtnPomoc = new QPushButton("Pomo&c", this);
    BitBtnPomoc->setObjectName("BitBtnPomoc");
    BitBtnPomoc->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(BitBtnOk);
    buttons->addWidget(BitBtnCancel);
    buttons->addWidget(BitBtnPomoc);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);

    connect(BitBtnOk, &QPushButton::clicked, this, &TWyborOsi::BitBtnOkClick);
    connect(BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtnPomoc, &QPushButton::clicked, this, &TWyborOsi::BitBtnPomocClick);
    connect(RadioGroupOsie, &TRadioGroup::changed, this, [this] { RadioGroupOsieClick(); });
    connect(PaintBox1, &TTablePaintBox::leftPressed, this, &TWyborOsi::PaintBox1MouseDown);

    FinishCreate();
}

void TWyborOsi::Setup(int horizontalLines, int verticalLines, uint16_t measuredMask, bool gridMode, int initialLine) {
    layout_ = {gridMode, horizontalLines, verticalLines};
    measured_ = measuredMask;
    initial_ = InitialSelection(layout_, initialLine);
    selected_ = initial_;
}

void TWyborOsi::showEvent(QShowEvent* event) {
    TSSForm::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TWyborOsi::FormShow() {
    RadioGroupOsie->SetItems(LineNames(layout_, TranslateString("stOs", QString::fromUtf8("Oś"))));
    lines_ = LineGeometry(layout_, PaintBox1->size());
    selected_ = initial_;
    // Index -1 first, so that choosing the line always runs the click handler.
    {
        QSignalBlocker block(RadioGroupOsie);
        RadioGroupOsie->SetItemIndex(-1);
    }
    RadioGroupOsie->SetItemIndex(selected_ - 1);
}

void TWyborOsi::RadioGroupOsieClick() {
    const int index = RadioGroupOsie->ItemIndex();
    if (index < 0) return;
    selected_ = index + 1;
    DrawTable();
    PaintBox1->update();
}

void TWyborOsi::PaintBox1MouseDown(QPoint at) {
    const int line = NearestLine(lines_, at);
    if (line >= 1) RadioGroupOsie->SetItemIndex(line - 1);
    PaintBox1->update();
}

void TWyborOsi::BitBtnOkClick() {
    if (!IsMeasured(measured_, selected_) ||
        MessageDlg(QString::fromUtf8("Wybrana oś jest już zmierzona!\r\rCzy chcesz powtórnie wykonać pomiar?"),
                   TMsgDlgType::mtConfirmation, mbYes | mbNo) == mrYes)
        accept();
}

void TWyborOsi::BitBtnPomocClick() {
    ShowHelpContext(HelpContext);
}

void TWyborOsi::DrawTable() {
    QPixmap bitmap(PaintBox1->size());
    bitmap.fill(Qt::white);
    QPainter p(&bitmap);
    p.setFont(PaintBox1->font());
    p.setPen(QColor(0xA0, 0xA0, 0xA0));
    p.drawRect(bitmap.rect().adjusted(0, 0, -1, -1));

    auto drawLine = [&](int line) {
        const Segment& s = lines_[size_t(line - 1)];
        const LineStyle style = StyleOf(line, selected_, measured_);
        QPen pen(style.color, style.width);
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        p.setBrush(style.color);
        p.drawLine(s.start, s.end);
        if (HasArrow(layout_, line)) {
            pen.setWidth(std::min(style.width, 2));
            p.setPen(pen);
            drawArrow(p, DirectionArrow(s));
        }
    };
    auto drawLabel = [&](int line) {
        const Label label = LineLabel(layout_, lines_, line);
        const QColor color = StyleOf(line, selected_, measured_).color;
        const QFontMetrics fm(p.font());
        QRect box = fm.boundingRect(label.text).adjusted(-2, 0, 2, 0);
        if (label.centred)
            box.moveCenter(label.at);
        else
            box.moveTopLeft(label.at);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(box);
        p.setPen(color);
        p.drawText(box, Qt::AlignCenter, label.text);
    };

    const int count = int(lines_.size());
    for (int line = 1; line <= count; ++line)
        if (line != selected_) drawLine(line);
    if (selected_ >= 1 && selected_ <= count) drawLine(selected_);
    for (int line = 1; line <= count; ++line) drawLabel(line);
    p.end();
    PaintBox1->bitmap = bitmap;
}

int TWyborOsi::Execute(int horizontalLines, int verticalLines, uint16_t measuredMask, bool gridMode,
                       int initialLine, QWidget* parent) {
    TWyborOsi form(parent);
    form.Setup(horizontalLines, verticalLines, measuredMask, gridMode, initialLine);
    if (LineCount(form.Layout()) == 0) return -1;
    int result;
    if (executeHook()) {
        form.FormShow();
        result = executeHook()(form);
    } else {
        result = form.exec();
    }
    return result == QDialog::Accepted ? form.SelectedLine() : -1;
}

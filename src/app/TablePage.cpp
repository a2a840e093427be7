// The measured-cycles table page: the grid of one cycle, drawn cell by cell, and the way back.
#include "app/TablePage.h"

#include <QEvent>
#include <QFontMetrics>
#include <algorithm>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/MeasurementTable.h"
#include "app/PageControls.h"
#include "foundations/NumberFormat.h"

using namespace pagecontrols;

namespace {

QFont cellFont(bool heading) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(16);  // size 12 at 96 dpi
    font.setBold(heading);
    return font;
}

// CyklGridDrawCell: headings bold and centred on silver, numbers on white ending a third of the
// cell before its right edge.
class CyklGridDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QRect r = option.rect;
        const bool heading = index.row() == 0;
        const QFont font = cellFont(heading);
        p->save();
        p->fillRect(r, heading ? QColor(0xC0, 0xC0, 0xC0) : QColor(Qt::white));
        p->setFont(font);
        p->setPen(Qt::black);
        p->setClipRect(r);
        const QString text = index.data(Qt::DisplayRole).toString();
        const QFontMetrics fm(font);
        const int w = fm.horizontalAdvance(text);
        const int x = heading ? r.left() + (r.width() - w) / 2 : MeasurementTableTextX(r.left(), r.right(), w);
        p->drawText(QPoint(x, r.top() + 2 + fm.ascent()), text);
        p->restore();
    }
};

}  // namespace

TablePage::TablePage(QObject* owner, TablePageCalls& calls) : QObject(owner), calls_(calls) {}

QWidget* TablePage::Build() {
    auto* page = named(new QWidget, "TabelaPomiarowStrona");
    auto* lay = new QVBoxLayout(page);
    CyklGrid = named(new QTableWidget(1, 6, page), "CyklGrid");
    CyklGrid->horizontalHeader()->hide();
    CyklGrid->verticalHeader()->hide();
    CyklGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    CyklGrid->setSelectionMode(QAbstractItemView::NoSelection);
    CyklGrid->setItemDelegate(new CyklGridDelegate(CyklGrid));
    CyklGrid->verticalHeader()->setDefaultSectionSize(24);
    CyklGrid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The viewport, not the grid: its width is final only after the grid has laid it out.
    CyklGrid->viewport()->installEventFilter(this);
    lay->addWidget(CyklGrid, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    ButtonTabelaBledu1 = button(page, "ButtonTabelaBledu1", QStringLiteral("&Wykres"));
    buttons->addWidget(ButtonTabelaBledu1);
    lay->addLayout(buttons);
    connect(ButtonTabelaBledu1, &QPushButton::clicked, this, &TablePage::ButtonTabelaBledu1Click);
    return page;
}

void TablePage::Fill(const TPunkt& cycle, const QStringList& headings) {
    const std::vector<MeasurementTableRow> rows = MeasurementTableRows(cycle, foundations::systemDecimalSeparator());
    CyklGrid->clearContents();
    CyklGrid->setRowCount(int(rows.size()) + 1);
    for (int c = 0; c < 6; ++c) CyklGrid->setItem(0, c, new QTableWidgetItem(headings.value(c)));
    for (size_t i = 0; i < rows.size(); ++i)
        for (int c = 0; c < 6; ++c) CyklGrid->setItem(int(i) + 1, c, new QTableWidgetItem(rows[i][size_t(c)]));
    applyColumnWidths();
}

void TablePage::ButtonTabelaBledu1Click() { calls_.ReturnFromTable(); }

bool TablePage::eventFilter(QObject* watched, QEvent* event) {
    if (CyklGrid && watched == CyklGrid->viewport() && event->type() == QEvent::Resize) applyColumnWidths();
    return QObject::eventFilter(watched, event);
}

void TablePage::applyColumnWidths() {
    const QFontMetrics headingMetrics(cellFont(true));
    const QFontMetrics valueMetrics(cellFont(false));
    std::array<int, 6> needed{};
    for (int c = 0; c < 6; ++c) {
        int widest = 0;
        for (int r = 1; r < CyklGrid->rowCount(); ++r)
            if (const QTableWidgetItem* item = CyklGrid->item(r, c))
                widest = std::max(widest, valueMetrics.horizontalAdvance(item->text()));
        const QTableWidgetItem* heading = CyklGrid->item(0, c);
        needed[size_t(c)] =
            MeasurementTableNeededWidth(heading ? headingMetrics.horizontalAdvance(heading->text()) : 0, widest);
    }
    const std::array<int, 6> w = MeasurementTableColumnWidths(CyklGrid->viewport()->width(), needed);
    for (int c = 0; c < 6; ++c) CyklGrid->setColumnWidth(c, w[size_t(c)]);
}

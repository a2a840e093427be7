#include "app/DeviationGrids.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>

QColor DeviationCellColour(int column) {
    switch (column) {
    case 1: return QColor(0, 0, 255);  // 0xFF0000 as a Windows BGR value
    case 2: return QColor(255, 0, 0);
    default: return QColor(Qt::black);
    }
}

std::array<int, 3> DeviationColumnWidths(int clientWidth, int gridLineWidth) {
    const int third = clientWidth / 3;
    return {third, third, clientWidth - 2 * third - 3 * gridLineWidth};
}

namespace {

class GridOdchylkaDelegate final : public QStyledItemDelegate {
public:
    GridOdchylkaDelegate(QTableWidget* grid, int32_t& widthSeen, const QLabel* fontSource)
        : QStyledItemDelegate(grid), grid_(grid), widthSeen_(widthSeen), fontSource_(fontSource) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QRect r = option.rect;
        const bool heading = index.row() == 0;
        QFont font = fontSource_ ? fontSource_->font() : option.font;
        font.setBold(heading);
        p->save();
        p->fillRect(r, heading ? QColor(0xC0, 0xC0, 0xC0) : QColor(Qt::white));
        p->setFont(font);
        p->setPen(DeviationCellColour(index.column()));
        QString text = index.data(Qt::DisplayRole).toString();
        if (!heading && text.isEmpty()) text = QStringLiteral(" ");
        p->drawText(r, Qt::AlignCenter | Qt::TextSingleLine, text);
        if (option.state & QStyle::State_HasFocus) {
            QPen pen(Qt::DotLine);
            p->setPen(pen);
            p->drawRect(r.adjusted(0, 0, -1, -1));
        }
        p->restore();
        fitColumns();
    }

private:
    // Widths follow the client width at the next drawing after it changed (not from inside this
    // paint: the new widths repaint the table once more).
    void fitColumns() const {
        if (!grid_) return;
        const int client = grid_->viewport()->width();
        if (client == widthSeen_) return;
        widthSeen_ = client;
        const std::array<int, 3> w = DeviationColumnWidths(client, grid_->showGrid() ? 1 : 0);
        QPointer<QTableWidget> grid = grid_;
        QTimer::singleShot(0, grid, [grid, w] {
            if (!grid) return;
            for (int c = 0; c < 3 && c < grid->columnCount(); ++c) grid->setColumnWidth(c, std::max(0, w[size_t(c)]));
        });
    }

    QPointer<QTableWidget> grid_;
    int32_t& widthSeen_;
    QPointer<const QLabel> fontSource_;
};

// The widths also follow a resize with no row to draw (the headings sit in the table's own
// heading, which the delegate does not paint).
class ViewportWidthWatch final : public QObject {
public:
    ViewportWidthWatch(QTableWidget* grid, int32_t& widthSeen) : QObject(grid), grid_(grid), widthSeen_(widthSeen) {}
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Resize && grid_ && watched == grid_->viewport()) {
            const int client = grid_->viewport()->width();
            widthSeen_ = client;
            const std::array<int, 3> w = DeviationColumnWidths(client, grid_->showGrid() ? 1 : 0);
            for (int c = 0; c < 3 && c < grid_->columnCount(); ++c) grid_->setColumnWidth(c, std::max(0, w[size_t(c)]));
        }
        return QObject::eventFilter(watched, e);
    }

private:
    QPointer<QTableWidget> grid_;
    int32_t& widthSeen_;
};

}  // namespace

namespace {

// Row 0 holds the headings, as the point store and the menu commands expect; the table shows
// them in its own heading, which stays in place while the rows scroll.
void showHeadingsAbove(QTableWidget* grid, const QLabel* fontSource) {
    if (grid->rowCount() > 0) grid->setRowHidden(0, true);
    QFont font = fontSource ? fontSource->font() : grid->font();
    font.setBold(true);
    for (int c = 0; c < grid->columnCount(); ++c) {
        const QTableWidgetItem* cell = grid->item(0, c);
        auto* head = new QTableWidgetItem(cell ? cell->text() : QString());
        head->setFont(font);
        head->setForeground(DeviationCellColour(c));
        head->setTextAlignment(Qt::AlignCenter);
        grid->setHorizontalHeaderItem(c, head);
    }
}

}  // namespace

void InstallDeviationGridDrawing(QTableWidget* grid, int32_t& widthSeen, const QLabel* fontSource) {
    if (!grid) return;
    QHeaderView* header = grid->horizontalHeader();
    header->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: #C0C0C0; border: 0px; "
                                         "border-right: 1px solid #A0A0A0; border-bottom: 1px solid #A0A0A0; }"));
    header->setSectionsClickable(false);
    header->show();
    QPointer<const QLabel> source = fontSource;
    auto sync = [grid, source] { showHeadingsAbove(grid, source); };
    QObject::connect(grid->model(), &QAbstractItemModel::dataChanged, grid,
                     [grid, sync](const QModelIndex& from, const QModelIndex&) {
                         if (from.row() == 0) sync();
                     });
    QObject::connect(grid->model(), &QAbstractItemModel::rowsInserted, grid, sync);
    sync();
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setStretchLastSection(false);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setItemDelegate(new GridOdchylkaDelegate(grid, widthSeen, fontSource));
    grid->viewport()->installEventFilter(new ViewportWidthWatch(grid, widthSeen));
}

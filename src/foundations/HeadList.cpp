#include "foundations/HeadList.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

constexpr int kFlagRole = Qt::UserRole + 1;

class RowDelegate : public QStyledItemDelegate {
public:
    explicit RowDelegate(THeaderListbox* owner) : QStyledItemDelegate(owner), owner_(owner) {}
    void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& index) const override {
        owner_->DrawRow(p, index.row(), opt.rect, opt.state, opt.palette);
    }
    QSize sizeHint(const QStyleOptionViewItem& opt, const QModelIndex&) const override {
        return {opt.rect.width(), owner_->ItemHeight()};
    }

private:
    THeaderListbox* owner_;
};

}  // namespace

THeaderListbox::THeaderListbox(QWidget* parent)
    : QWidget(parent),
      header_(new QHeaderView(Qt::Horizontal, this)),
      headerModel_(new QStandardItemModel(0, 0, this)),
      list_(new QListWidget(this)) {
    header_->setModel(headerModel_);
    header_->setSectionsClickable(true);
    header_->setStretchLastSection(false);
    header_->setSectionResizeMode(QHeaderView::Interactive);
    list_->setFrameShape(QFrame::NoFrame);
    list_->setUniformItemSizes(true);
    list_->setItemDelegate(new RowDelegate(this));
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    lay->addWidget(header_);
    lay->addWidget(list_, 1);
    resize(150, 100);

    connect(header_, &QHeaderView::sectionClicked, this, [this](int i) {
        if (i >= 0 && i < sections_.size() && sections_[i].allowClick) emit sectionClicked(i);
    });
    // Qt draws the columns again with their new widths as a section is dragged, so no guide
    // line is needed and none is left behind.
    connect(header_, &QHeaderView::sectionResized, this, [this](int i, int, int w) {
        if (i >= 0 && i < sections_.size()) {
            if (w < sections_[i].minWidth) {
                header_->resizeSection(i, sections_[i].minWidth);
                return;
            }
            sections_[i].width = w;
        }
        redraw();
    });
    connect(list_, &QListWidget::itemClicked, this, [this] { emit clicked(); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { emit doubleClicked(); });
    list_->viewport()->installEventFilter(this);
    header_->viewport()->installEventFilter(this);
    list_->viewport()->setMouseTracking(false);
}

QStringList THeaderListbox::Items() const {
    QStringList rows;
    for (int i = 0; i < list_->count(); ++i) rows << list_->item(i)->text();
    return rows;
}

void THeaderListbox::SetItems(const QStringList& rows) {
    list_->clear();
    for (const QString& r : rows) AddItem(r);
}

void THeaderListbox::AddItem(const QString& row, int flag) {
    auto* it = new QListWidgetItem(row);
    it->setData(kFlagRole, flag);
    list_->addItem(it);
}

void THeaderListbox::ClearItems() { list_->clear(); }
int THeaderListbox::Count() const { return list_->count(); }

QString THeaderListbox::Item(int index) const {
    auto* it = list_->item(index);
    return it ? it->text() : QString();
}

int THeaderListbox::ItemFlag(int index) const {
    auto* it = list_->item(index);
    return it ? it->data(kFlagRole).toInt() : 0;
}

void THeaderListbox::SetItemFlag(int index, int flag) {
    if (auto* it = list_->item(index)) it->setData(kFlagRole, flag);
}

QList<THeaderSection> THeaderListbox::Sections() const { return sections_; }

void THeaderListbox::SetSections(const QList<THeaderSection>& sections) {
    sections_ = sections;
    headerModel_->setColumnCount(int(sections.size()));
    for (int i = 0; i < sections.size(); ++i) {
        headerModel_->setHeaderData(i, Qt::Horizontal, sections[i].text);
        headerModel_->setHeaderData(i, Qt::Horizontal, int(sections[i].alignment | Qt::AlignVCenter),
                                    Qt::TextAlignmentRole);
        QSignalBlocker block(header_);
        header_->resizeSection(i, sections[i].width);
    }
    // The heading keeps the height of its text and the rows get the rest: as a scroll area, a
    // header would otherwise claim the room of two scroll bars in a layout.
    header_->setFixedHeight(header_->sizeHint().height());
    redraw();
}

int THeaderListbox::SectionCount() const { return int(sections_.size()); }

void THeaderListbox::SetSectionText(int index, const QString& text) {
    if (index < 0 || index >= sections_.size()) return;
    sections_[index].text = text;
    headerModel_->setHeaderData(index, Qt::Horizontal, text);
}

void THeaderListbox::SetSectionWidth(int index, int width) {
    if (index < 0 || index >= sections_.size()) return;
    sections_[index].width = width;
    QSignalBlocker block(header_);
    header_->resizeSection(index, width);
    redraw();
}

int THeaderListbox::SectionWidth(int index) const {
    return index >= 0 && index < sections_.size() ? sections_[index].width : 0;
}

int THeaderListbox::SectionLeft(int index) const {
    int left = 0;
    for (int i = 0; i < index && i < sections_.size(); ++i) left += sections_[i].width;
    return left;
}

void THeaderListbox::SetDelimChar(QChar c) {
    if (c == delim_) return;
    delim_ = c;
    redraw();
}

void THeaderListbox::SetLBStyle(THLBStyle s) {
    if (s == style_) return;
    style_ = s;
    redraw();
}

void THeaderListbox::SetFlagColumn(int col) {
    if (col == flagColumn_) return;
    flagColumn_ = col;
    redraw();
}

QColor THeaderListbox::ListColor() const { return list_->palette().color(QPalette::Base); }

void THeaderListbox::SetListColor(const QColor& c) {
    QPalette pal = list_->palette();
    pal.setColor(QPalette::Base, c);
    list_->setPalette(pal);
}

int THeaderListbox::ItemIndex() const { return list_->currentRow(); }
void THeaderListbox::SetItemIndex(int i) { list_->setCurrentRow(i); }

void THeaderListbox::SetMultiSelect(bool on) {
    list_->setSelectionMode(on ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
}

void THeaderListbox::SetExtendedSelect(bool on) {
    if (on) list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
}

void THeaderListbox::SetItemHeight(int h) {
    if (h <= 0 || h == itemHeight_) return;
    itemHeight_ = h;
    list_->doItemsLayout();
    redraw();
}

void THeaderListbox::SetSorted(bool on) { list_->setSortingEnabled(on); if (on) list_->sortItems(); }

void THeaderListbox::SetPopupMenu(QMenu* menu) {
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(header_), static_cast<QWidget*>(list_)}) {
        w->setContextMenuPolicy(menu ? Qt::CustomContextMenu : Qt::DefaultContextMenu);
        disconnect(w, &QWidget::customContextMenuRequested, nullptr, nullptr);
        if (menu)
            connect(w, &QWidget::customContextMenuRequested, menu,
                    [menu, w](const QPoint& pos) { menu->popup(w->mapToGlobal(pos)); });
    }
}

QString THeaderListbox::NextField(const QString& row, int& pos, QChar delim) {
    if (pos >= row.size()) {
        pos = int(row.size()) + 1;
        return QString();
    }
    const int d = row.indexOf(delim, pos);
    if (d < 0) {
        QString f = row.mid(pos);
        pos = int(row.size()) + 1;
        return f;
    }
    QString f = row.mid(pos, d - pos);
    pos = d + 1;
    return f;
}

QStringList THeaderListbox::SplitRow(const QString& row, QChar delim, int sections) {
    QStringList fields;
    int pos = 0;
    for (int i = 0; i < sections; ++i) fields << (pos > row.size() ? QString() : NextField(row, pos, delim));
    return fields;
}

QList<QRect> THeaderListbox::CellRects(const QRect& rowRect) const {
    QList<QRect> cells;
    const int offset = -header_->offset();
    for (int i = 0; i < sections_.size(); ++i) {
        const int left = rowRect.left() + offset + SectionLeft(i);
        const int right = left + sections_[i].width - 6;
        cells << QRect(QPoint(left, rowRect.top()), QPoint(std::max(left, right) - 1, rowRect.bottom()));
    }
    return cells;
}

void THeaderListbox::DrawRow(QPainter* p, int index, const QRect& rowRect, QStyle::State state,
                             const QPalette& pal) {
    const bool selected = state & QStyle::State_Selected;
    p->save();
    p->fillRect(rowRect, pal.brush(selected ? QPalette::Highlight : QPalette::Base));
    const QList<QRect> cells = CellRects(rowRect);
    if (style_ == THLBStyle::hlbOwnerDraw) {
        if (onDrawCell_)
            for (int i = 0; i < cells.size(); ++i) onDrawCell_(this, index, i, p, cells[i], state);
    } else {
        const QStringList fields = SplitRow(Item(index), delim_, int(cells.size()));
        const bool flagged = ItemFlag(index) != 0;
        const QColor normal = pal.color(selected ? QPalette::HighlightedText : QPalette::Text);
        for (int i = 0; i < cells.size(); ++i) {
            p->setPen(flagged && i == flagColumn_ ? QColor(Qt::red) : normal);
            p->drawText(cells[i], int(sections_[i].alignment | Qt::AlignVCenter) | Qt::TextSingleLine, fields[i]);
        }
    }
    p->restore();
}

void THeaderListbox::redraw() {
    ++redraws_;
    list_->viewport()->update();
    update();
}

bool THeaderListbox::eventFilter(QObject* watched, QEvent* event) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (w && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
              event->type() == QEvent::MouseMove)) {
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint pos = w->mapTo(this, me->position().toPoint());
        if (event->type() == QEvent::MouseButtonPress)
            emit mouseDown(me->button(), me->modifiers(), pos);
        else if (event->type() == QEvent::MouseButtonRelease)
            emit mouseUp(me->button(), me->modifiers(), pos);
        else
            emit mouseMove(me->modifiers(), pos);
    }
    return QWidget::eventFilter(watched, event);
}

#pragma once
// Table made of a column header and a list: each row is one string whose fields are separated
// by a delimiter, each field drawn under its header column.
#include <QColor>
#include <QList>
#include <QListWidget>
#include <QStringList>
#include <QStyle>
#include <QWidget>
#include <functional>

class QHeaderView;
class QMenu;
class QStandardItemModel;

enum class THLBStyle { hlbStandard, hlbOwnerDraw };

struct THeaderSection {
    QString text;
    int width = 50;
    int minWidth = 0;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool allowClick = true;
};

class THeaderListbox : public QWidget {
    Q_OBJECT
public:
    // Draws one cell in hlbOwnerDraw style: (control, row, column, painter of the list, cell
    // rectangle, row state). The handler splits the row itself.
    using DrawCellHandler = std::function<void(THeaderListbox*, int index, int col, QPainter*, const QRect&,
                                               QStyle::State)>;

    explicit THeaderListbox(QWidget* parent = nullptr);

    // The rows. Each row also carries a flag (the "object" of the row), 0 unless set.
    QStringList Items() const;
    void SetItems(const QStringList& rows);  // flags become 0
    void AddItem(const QString& row, int flag = 0);
    void ClearItems();
    int Count() const;
    QString Item(int index) const;
    int ItemFlag(int index) const;  // 0 out of range
    void SetItemFlag(int index, int flag);

    QList<THeaderSection> Sections() const;
    void SetSections(const QList<THeaderSection>& sections);
    int SectionCount() const;
    void SetSectionText(int index, const QString& text);
    void SetSectionWidth(int index, int width);
    int SectionWidth(int index) const;
    int SectionLeft(int index) const;

    QChar DelimChar() const { return delim_; }
    void SetDelimChar(QChar c);  // redraws only on a change
    THLBStyle LBStyle() const { return style_; }
    void SetLBStyle(THLBStyle s);  // redraws only on a change
    // In the standard style, the column whose text is drawn red in rows with a non-zero flag
    // (a value over its limit); -1: none.
    int FlagColumn() const { return flagColumn_; }
    void SetFlagColumn(int col);

    QColor ListColor() const;
    void SetListColor(const QColor& c);
    int ItemIndex() const;
    void SetItemIndex(int i);
    void SetMultiSelect(bool on);
    void SetExtendedSelect(bool on);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int h);
    void SetSorted(bool on);
    void SetPopupMenu(QMenu* menu);
    void SetOnDrawCell(DrawCellHandler h) { onDrawCell_ = std::move(h); }

    QListWidget* listBox() const { return list_; }
    QHeaderView* header() const { return header_; }
    // How often the control asked to be redrawn (for tests of the redraw rule).
    int RedrawCount() const { return redraws_; }

    // Next field of a row from position pos (0-based): up to the next delimiter, pos moving past
    // it; without one, the rest of the row, pos moving past the end.
    static QString NextField(const QString& row, int& pos, QChar delim);
    // The texts drawn in `sections` columns: missing fields are empty, extra fields dropped.
    static QStringList SplitRow(const QString& row, QChar delim, int sections);
    // The cell rectangles of a row: each section's span less 6 pixels at its right edge.
    QList<QRect> CellRects(const QRect& rowRect) const;

    // Draws a row as the list does (used by its delegate).
    void DrawRow(QPainter* p, int index, const QRect& rowRect, QStyle::State state, const QPalette& pal);

signals:
    void sectionClicked(int section);
    void clicked();
    void doubleClicked();
    // Mouse events of the list and the header, in this control's coordinates.
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers mods, QPoint pos);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers mods, QPoint pos);
    void mouseMove(Qt::KeyboardModifiers mods, QPoint pos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void redraw();

    QHeaderView* header_;
    QStandardItemModel* headerModel_;
    QListWidget* list_;
    QList<THeaderSection> sections_;
    QChar delim_ = u' ';
    THLBStyle style_ = THLBStyle::hlbStandard;
    int flagColumn_ = -1;
    int itemHeight_ = 16;
    DrawCellHandler onDrawCell_;
    int redraws_ = 0;
};

#pragma once
// Radio group: a framed group with a caption and a list of items, one of which is chosen.
// The items are a string list; ItemIndex -1 means none is chosen.
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* parent = nullptr);
    TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    QStringList Items() const { return items_; }
    // Replaces the items; the chosen index is kept when it still names an item, else -1.
    void SetItems(const QStringList& items);
    void AddItem(const QString& text);
    void InsertItem(int index, const QString& text);
    void ClearItems();
    int itemCount() const { return int(items_.size()); }
    QString item(int index) const;
    void setItem(int index, const QString& text);  // out of range: ignored

    int ItemIndex() const { return itemIndex_; }
    // -1 or an index out of range chooses nothing.
    void SetItemIndex(int index);

    int Columns() const { return columns_; }
    void SetColumns(int columns);  // at least 1

    // The button of an item, for tests; null out of range.
    QRadioButton* button(int index) const;

signals:
    // The chosen item changed (by the user or by SetItemIndex).
    void changed(int itemIndex);

private:
    void rebuild();

    QStringList items_;
    int itemIndex_ = -1;
    int columns_ = 1;
    QButtonGroup* buttons_;
    QGridLayout* layout_;
};

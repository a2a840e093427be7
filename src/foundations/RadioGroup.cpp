#include "foundations/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <algorithm>

TRadioGroup::TRadioGroup(QWidget* parent)
    : QGroupBox(parent), buttons_(new QButtonGroup(this)), layout_(new QGridLayout(this)) {
    buttons_->setExclusive(true);
    connect(buttons_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on && id != itemIndex_) {
            itemIndex_ = id;
            emit changed(id);
        }
    });
}

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent) : TRadioGroup(parent) {
    setTitle(caption);
    SetItems(items);
}

void TRadioGroup::rebuild() {
    const auto old = buttons_->buttons();
    for (QAbstractButton* b : old) {
        buttons_->removeButton(b);
        delete b;
    }
    const int n = int(items_.size());
    const int rows = (n + columns_ - 1) / columns_;
    for (int i = 0; i < n; ++i) {
        auto* b = new QRadioButton(items_[i], this);
        buttons_->addButton(b, i);
        // Items run down the first column, then the next, as the group lays them out.
        layout_->addWidget(b, rows ? i % rows : 0, rows ? i / rows : 0);
    }
    if (itemIndex_ >= n) itemIndex_ = -1;
    if (itemIndex_ >= 0) {
        QSignalBlocker block(buttons_);
        buttons_->button(itemIndex_)->setChecked(true);
    }
}

void TRadioGroup::SetItems(const QStringList& items) {
    items_ = items;
    rebuild();
}

void TRadioGroup::AddItem(const QString& text) {
    items_ << text;
    rebuild();
}

void TRadioGroup::InsertItem(int index, const QString& text) {
    index = std::clamp(index, 0, itemCount());
    items_.insert(index, text);
    if (itemIndex_ >= index) ++itemIndex_;
    rebuild();
}

void TRadioGroup::ClearItems() {
    items_.clear();
    itemIndex_ = -1;
    rebuild();
}

QString TRadioGroup::item(int index) const {
    return index >= 0 && index < itemCount() ? items_[index] : QString();
}

void TRadioGroup::setItem(int index, const QString& text) {
    if (index < 0 || index >= itemCount()) return;
    items_[index] = text;
    if (auto* b = buttons_->button(index)) b->setText(text);
}

void TRadioGroup::SetItemIndex(int index) {
    if (index < 0 || index >= itemCount()) index = -1;
    if (index == itemIndex_) return;
    itemIndex_ = index;
    {
        QSignalBlocker block(buttons_);
        if (index >= 0) {
            buttons_->button(index)->setChecked(true);
        } else if (QAbstractButton* b = buttons_->checkedButton()) {
            buttons_->setExclusive(false);
            b->setChecked(false);
            buttons_->setExclusive(true);
        }
    }
    emit changed(index);
}

void TRadioGroup::SetColumns(int columns) {
    columns = std::max(columns, 1);
    if (columns == columns_) return;
    columns_ = columns;
    rebuild();
}

QRadioButton* TRadioGroup::button(int index) const {
    return qobject_cast<QRadioButton*>(buttons_->button(index));
}

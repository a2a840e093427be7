#include "foundations/RealSpinEdit.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QToolButton>
#include <cmath>

#include "foundations/NumberFormat.h"

namespace {
constexpr int kButtonWidth = 15;
}

TRealSpinEdit::TRealSpinEdit(QWidget* parent)
    : QLineEdit(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    for (QToolButton* b : {up_, down_}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        b->setCursor(Qt::ArrowCursor);
    }
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    connect(up_, &QToolButton::clicked, this, &TRealSpinEdit::UpClick);
    connect(down_, &QToolButton::clicked, this, &TRealSpinEdit::DownClick);
    setTextMargins(0, 0, kButtonWidth + 2, 0);
    setText(foundations::formatFixed(0.0, 15, precision_, foundations::systemDecimalSeparator()));
}

double TRealSpinEdit::Value() const { return foundations::parseUserReal(text()).value_or(min_); }

void TRealSpinEdit::SetValue(double value) {
    if (!std::isfinite(value)) return;  // nothing sensible to show
    setText(foundations::formatFixed(CheckValue(value), 15, precision_, foundations::systemDecimalSeparator()));
}

void TRealSpinEdit::ShowDecimalSeparator() {
    if (!foundations::parseUserReal(text())) return;  // half typed: the inspector's text
    QString t = text();
    const QChar sep = foundations::systemDecimalSeparator();
    for (QChar& c : t)
        if (c == u'.' || c == u',') c = sep;
    if (t == text()) return;
    const QSignalBlocker quiet(this);
    setText(t);
}

void TRealSpinEdit::SetPrecision(int p) {
    if (p < 0 || p > 14 || p == precision_) return;
    const double v = Value();
    precision_ = p;
    SetValue(v);
}

void TRealSpinEdit::SetEditorEnabled(bool on) {
    editorEnabled_ = on;
    setAcceptDrops(on);  // a drop is typing too
}

double TRealSpinEdit::CheckValue(double v) const {
    if (max_ != min_) {
        if (v < min_) return min_;
        if (v > max_) return max_;
    }
    return v;
}

bool TRealSpinEdit::IsValidChar(QChar key) const {
    if (key == u'+' || (key >= u'0' && key <= u'9') || key == u'.' || key == u',') return true;
    return key == u'-' && minus_;
}

void TRealSpinEdit::UpClick() {
    if (isReadOnly()) {
        beep();
        return;
    }
    SetValue(Value() + increment_);
}

void TRealSpinEdit::DownClick() {
    if (isReadOnly()) {
        beep();
        return;
    }
    SetValue(Value() - increment_);
}

void TRealSpinEdit::beep() {
    QApplication::beep();
    emit beeped();
}

void TRealSpinEdit::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Up:
        UpClick();
        e->accept();
        return;
    case Qt::Key_Down:
        DownClick();
        e->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        focusNextChild();
        e->accept();
        return;
    default:
        break;
    }
    const bool editing = e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut) ||
                         e->matches(QKeySequence::Delete) || e->key() == Qt::Key_Backspace ||
                         e->key() == Qt::Key_Delete;
    const QString t = e->text();
    const bool printable = !t.isEmpty() && t.front().isPrint() && !(e->modifiers() & Qt::ControlModifier);
    if (!editorEnabled_ && (editing || printable)) {
        e->accept();  // only the buttons and arrow keys change the value
        return;
    }
    if (printable) {
        const QChar c = t.front();
        if (!IsValidChar(c)) {
            beep();
            e->accept();
            return;
        }
        if (c == u'.' || c == u',') {
            // Either key types the separator the user sees.
            if (!isReadOnly()) insert(QString(foundations::systemDecimalSeparator()));
            e->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(e);
}

void TRealSpinEdit::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    if (e->reason() != Qt::MouseFocusReason) selectAll();
}

void TRealSpinEdit::focusOutEvent(QFocusEvent* e) {
    auto typed = foundations::parseUserReal(text());
    if (typed && CheckValue(*typed) != *typed) SetValue(*typed);
    QLineEdit::focusOutEvent(e);
}

void TRealSpinEdit::contextMenuEvent(QContextMenuEvent* e) {
    if (!editorEnabled_) {
        e->accept();  // no paste or cut from the menu either
        return;
    }
    QLineEdit::contextMenuEvent(e);
}

void TRealSpinEdit::resizeEvent(QResizeEvent* e) {
    QLineEdit::resizeEvent(e);
    layoutButtons();
}

void TRealSpinEdit::layoutButtons() {
    const int h = height();
    const int left = width() - kButtonWidth - 1;
    up_->setGeometry(left, 1, kButtonWidth, (h - 2) / 2);
    down_->setGeometry(left, 1 + (h - 2) / 2, kButtonWidth, h - 2 - (h - 2) / 2);
}

QSize TRealSpinEdit::minimumSizeHint() const {
    QSize s = QLineEdit::minimumSizeHint();
    const int fh = fontMetrics().height();
    s.setHeight(std::max(s.height(), fh + fh / 4 + 6));
    s.setWidth(s.width() + kButtonWidth + 2);
    return s;
}

QSize TRealSpinEdit::sizeHint() const {
    QSize s = QLineEdit::sizeHint();
    s.setHeight(std::max(s.height(), minimumSizeHint().height()));
    return s;
}

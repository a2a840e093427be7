#pragma once
// Small builders the page classes share: every control gets its component name as objectName.
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <vector>

#include "foundations/Display.h"
#include "platform/Chart.h"

namespace pagecontrols {

inline platform::TChart* chart(QWidget* parent, const char* name) {
    auto* c = new platform::TChart(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setMinimumSize(200, 140);
    return c;
}

template <class W>
W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

inline QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    return named(new QPushButton(caption, parent), name);
}

inline QLabel* label(QWidget* parent, const char* name, const QString& caption) {
    return named(new QLabel(caption, parent), name);
}

inline QProgressBar* gauge(QWidget* parent, const char* name) {
    auto* g = named(new QProgressBar(parent), name);
    g->setRange(0, 255);
    g->setValue(0);
    g->setTextVisible(false);
    g->setToolTip(QStringLiteral("Poziom sygnału"));
    return g;
}

inline QFrame* panel(QWidget* parent, const char* name) {
    auto* f = named(new QFrame(parent), name);
    f->setFrameShape(QFrame::StyledPanel);
    return f;
}

inline TDisplay* display(QWidget* parent, const char* name, int precision, int pointSize = 22) {
    auto* d = named(new TDisplay(parent), name);
    d->SetPrecision(precision);
    QFont f = d->font();
    f.setPointSize(pointSize);
    f.setBold(true);
    d->setFont(f);
    d->setMinimumHeight(QFontMetrics(f).height() + 12);
    return d;
}

inline QTableWidget* deviationGrid(QWidget* parent, const char* name) {
    // Row 0 holds the headings, row r + 1 point r, as the point store expects.
    auto* g = named(new QTableWidget(1, 3, parent), name);
    g->horizontalHeader()->hide();
    g->verticalHeader()->hide();
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    g->setMinimumWidth(220);
    g->setSelectionMode(QAbstractItemView::NoSelection);
    g->setFocusPolicy(Qt::NoFocus);
    return g;
}

// A status bar of fixed panels, each a label named after the bar ("<bar>Panel<i>").
class PanelStatusBar : public QStatusBar {
public:
    PanelStatusBar(QWidget* parent, const char* name, int panels) : QStatusBar(parent) {
        setObjectName(QString::fromLatin1(name));
        setSizeGripEnabled(false);
        for (int i = 0; i < panels; ++i) {
            auto* l = new QLabel(this);
            l->setObjectName(QString::fromLatin1(name) + QStringLiteral("Panel") + QString::number(i));
            l->setFrameShape(QFrame::StyledPanel);
            addWidget(l, 1);
            panels_.push_back(l);
        }
    }
    // Panel i; null past the last.
    QLabel* Panel(int i) const { return i >= 0 && i < int(panels_.size()) ? panels_[size_t(i)] : nullptr; }

private:
    std::vector<QLabel*> panels_;
};

inline PanelStatusBar* panelStatusBar(QWidget* parent, const char* name, int panels) {
    return new PanelStatusBar(parent, name, panels);
}

inline QWidget* backButton(QWidget* parent, QPushButton*& b, const char* name) {
    b = button(parent, name, QStringLiteral("&Główne Menu"));
    return b;
}

}  // namespace pagecontrols

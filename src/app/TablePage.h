#pragma once
// The measured-cycles table page ("TabelaPomiarow", page 7) of the main window. It owns its
// controls (the grid CyklGrid, drawn by the program, and the way back "&Wykres"), builds them,
// fills the grid with one positioning cycle and holds the way back to the chart.
#include <QObject>
#include <QStringList>

#include "foundations/PomiarCol.h"

class QPushButton;
class QTableWidget;
class QWidget;

// What the table page asks of the window.
class TablePageCalls {
public:
    virtual ~TablePageCalls() = default;
    // "&Wykres": the menu's Start as the page's start button is, back to the positioning page.
    virtual void ReturnFromTable() = 0;
};

class TablePage final : public QObject {
public:
    TablePage(QObject* owner, TablePageCalls& calls);

    QWidget* Build();
    // Row 0 the headings, row i + 1 point i of the cycle; column widths from the client width.
    void Fill(const TPunkt& cycle, const QStringList& headings);

    // --- handlers ---
    void ButtonTabelaBledu1Click();

    QTableWidget* Grid() const { return CyklGrid; }

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void applyColumnWidths();

    TablePageCalls& calls_;
    QTableWidget* CyklGrid = nullptr;
    QPushButton* ButtonTabelaBledu1 = nullptr;
};

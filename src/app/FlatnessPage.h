#pragma once
// The flatness map page ("MapaPlaskosci") of the main window. It owns the page's controls (the
// 3-D view Panel18 with the map WykresPlaskosci and its rotation and elevation bars, the map's
// value LabElewacja, the line start, "&Nowa Mapa" and the way back), builds them, and holds the
// page's entry, the choice of each line, the map built from the window's FlatnessLines (through
// evaluation/FlatnessMap) and the view's turning. A line itself is measured on the straightness
// page.
#include <QObject>
#include <QPoint>
#include <memory>
#include <vector>

class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class QWidget;
class TMainForm;
namespace platform {
class TChart;
class TPoint3DSeries;
}

// Picks the next flatness line (1-based) given the current one; -1 cancels.
class FlatnessLineChooser {
public:
    virtual ~FlatnessLineChooser() = default;
    virtual int ChooseLine(int currentLine) = 0;
};

class FlatnessPage final : public QObject {
public:
    explicit FlatnessPage(TMainForm& shell);
    ~FlatnessPage() override;

    QWidget* Build();
    // Connects the page's controls and the menu's "&Następna oś"; the map's 16 line series.
    void Connect();

    // --- handlers ---
    void BitBtnMapaPlaskosciClick();
    void ButtonMapaPlaskosciStartClick();
    void NowaMapaClick();
    void NastepnaOs1Click();
    void Button27Click();
    void ScrollBarRotationScroll();
    void ScrollBarElevationScroll();
    void Panel18Resize();
    void WykresPlaskosciMouseDown(QPoint pos, Qt::MouseButton button);
    void WykresPlaskosciMouseMove(QPoint pos, Qt::MouseButtons buttons);

    // --- the map ---
    // Value, label and chart from FlatnessLines in the layout of FlatnessMethod.
    void BuildFlatnessMap();
    void ClearFlatnessLines();  // every line emptied, the items kept
    void ClearFlatnessChart();  // every series of WykresPlaskosci emptied
    // FlatnessLinesDone from the lines that hold points (after a file is loaded).
    void UpdateLineMask();
    // A new map: lines emptied, mask cleared, the empty map drawn.
    void ResetFlatnessMap();
    // "&Nowa Mapa" on or off (on once the map holds a line).
    void EnableNewMap(bool on);
    // Series k-1 of WykresPlaskosci for line k.
    std::vector<platform::TPoint3DSeries*> FlatnessSeries() const;
    // The next line as the chooser gives it; -1 when cancelled or not a line of the map.
    int ChooseNextFlatnessLine();
    // The chooser of each line: the axis choice form unless another is set (null: that form).
    void SetLineChooser(FlatnessLineChooser* chooser);
    // Chart title and value axis in the current language.
    void TranslateCaptions();

    platform::TChart* Chart() const { return WykresPlaskosci; }

private:
    class AxisFormChooser;

    TMainForm& shell_;
    QFrame* Panel18 = nullptr;
    platform::TChart* WykresPlaskosci = nullptr;
    QScrollBar* ScrollBarRotation = nullptr;
    QScrollBar* ScrollBarElevation = nullptr;
    QLabel* LabElewacja = nullptr;
    QPushButton* ButtonMapaPlaskosciStart = nullptr;
    QPushButton* NowaMapa = nullptr;
    QPushButton* Button27 = nullptr;
    QPoint LastMouse;  // LastMouseX, LastMouseY
    std::unique_ptr<AxisFormChooser> axisForm_;
    FlatnessLineChooser* chooser_ = nullptr;
};

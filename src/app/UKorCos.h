#pragma once
// The 3-D view of a straightness run "Prostoliniowość widok 3D": the run as one curve in space
// (position along the axis, horizontal deviation as depth, vertical deviation as height) on a
// chart turned by two scroll bars or by dragging, and the run's cosine error in a readout the
// form keeps hidden. What it draws and the error come from evaluation/CosineError.
#include <QDialog>
#include <QPoint>
#include <functional>

#include "foundations/PomiarCol.h"

class QLabel;
class QPushButton;
class QScrollBar;
class TDisplay;

namespace platform {
class TChart;
class TPoint3DSeries;
}  // namespace platform

class TFKorCos : public QDialog {
    Q_OBJECT
public:
    explicit TFKorCos(QWidget* parent = nullptr);

    // The end error into Display1 and the points, less the line the statistics method removes
    // (0 end-point line, 1 least-squares line, 2 none), into Series1. The points are not changed.
    void Fill(const TPunkt& points, int statisticsMethod);

    void ScrollBarRotationScroll();
    void ScrollBarElevationScroll();
    // The left button starts a drag; moving with it held turns the view by half the pixels.
    void Chart1MouseDown(QPoint pos, Qt::MouseButton button);
    void Chart1MouseMove(QPoint pos, Qt::MouseButtons buttons);

    // Tests answer the form in place of the user: the hook gets the filled form and returns
    // its dialog result. An empty hook shows the form.
    using ExecuteHook = std::function<int(TFKorCos&)>;
    static void setExecuteHook(ExecuteHook hook);

    platform::TChart* Chart1;
    platform::TPoint3DSeries* Series1;
    platform::TPoint3DSeries* Series2;
    platform::TPoint3DSeries* Series3;
    QScrollBar* ScrollBarRotation;
    QScrollBar* ScrollBarElevation;
    QLabel* Label1;
    TDisplay* Display1;
    QPushButton* BitBtn1;

    QPoint LastMouse;  // where the last drag step ended
};

// The form while it is shown; null otherwise.
extern TFKorCos* FKorCos;

// Widok3D1Click of the main window: the form filled from the straightness points and the
// window's statistics method, shown modally and freed.
void ShowStraightness3D(const TPunkt& points, int statisticsMethod, QWidget* parent = nullptr);

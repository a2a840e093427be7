#pragma once
// The alignment page ("Justowanie", page 10) of the main window: it owns its chart
// WykresJustowanie and builds it. The page has no calls of its own: the beam alignment the
// inspector watches is the live readout page's chJustowanie, where the frame parser's two-axis
// blocks are drawn.
#include <QObject>

class QWidget;
namespace platform {
class TChart;
}

class AlignmentPage final : public QObject {
public:
    explicit AlignmentPage(QObject* owner);

    QWidget* Build();

private:
    platform::TChart* WykresJustowanie = nullptr;
};

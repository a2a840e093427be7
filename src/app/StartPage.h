#pragma once
// The start picture ("Wstep", page 0) of the main window. It owns the picture's captions and the
// progress bar ProgressBar1 of the interface start-up, builds them, and keeps the bar moving
// while the start-up lasts.
#include <QObject>

class QFrame;
class QProgressBar;
class QTimer;
class QWidget;

class StartPage final : public QObject {
public:
    explicit StartPage(QObject* owner);

    QWidget* Build();

    // The interface start-up begins: the bar from 0, creeping on (ever more slowly) while the
    // tries for a head take their seconds, until the loader's own progress or the end.
    void BeginStartupProgress();
    void EndStartupProgress();
    // The loader's progress, 0..100.
    void SetProgress(int percent);

private:
    QFrame* Wstep = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QTimer* progressTimer_ = nullptr;
};

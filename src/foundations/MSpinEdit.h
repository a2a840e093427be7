#pragma once
// Integer spin edit that tells whether a change comes from its up and down buttons.
#include <QSpinBox>

class TMSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit TMSpinEdit(QWidget* parent = nullptr) : QSpinBox(parent) {}

    // True only while an up or down click (button, arrow key or wheel step) is being handled,
    // so a valueChanged handler can tell a click from typing.
    bool ButtonClick() const { return buttonClick_; }
    void UpClick() { stepBy(1); }
    void DownClick() { stepBy(-1); }

    void stepBy(int steps) override {
        buttonClick_ = true;
        QSpinBox::stepBy(steps);
        buttonClick_ = false;
    }

private:
    bool buttonClick_ = false;
};

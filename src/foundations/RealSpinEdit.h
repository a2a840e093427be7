#pragma once
// Edit box with up and down buttons for a real value with a fixed number of decimals.
#include <QLineEdit>

class QToolButton;

class TRealSpinEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TRealSpinEdit(QWidget* parent = nullptr);

    // Reading parses the text ("." and "," both accepted); a text that is no number gives
    // MinValue. Writing clamps (CheckValue) and shows Precision decimals, at most 15 significant
    // digits, with the system's decimal separator.
    double Value() const;
    void SetValue(double value);
    // The text shown again with the language's decimal separator (after a language change);
    // the value stays, and nothing is told of a change.
    void ShowDecimalSeparator();

    double MinValue() const { return min_; }
    double MaxValue() const { return max_; }
    void SetMinValue(double v) { min_ = v; }
    void SetMaxValue(double v) { max_ = v; }
    double Increment() const { return increment_; }
    void SetIncrement(double v) { increment_ = v; }
    int Precision() const { return precision_; }
    // 0..14; other values are ignored. The value is shown again with the new decimals.
    void SetPrecision(int p);
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool on);
    bool Minus() const { return minus_; }
    void SetMinus(bool on) { minus_ = on; }

    // With different bounds, V below MinValue gives MinValue and above MaxValue gives MaxValue.
    double CheckValue(double v) const;
    // "+", digits, the decimal separator ("." or ","), and "-" when Minus is set.
    virtual bool IsValidChar(QChar key) const;
    // Value ± Increment; a beep when the edit is read-only.
    virtual void UpClick();
    virtual void DownClick();

signals:
    // A refused key or a click on a read-only edit (the beep).
    void beeped();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

private:
    void beep();
    void layoutButtons();

    double min_ = 0.0, max_ = 0.0, increment_ = 1.0;
    int precision_ = 3;
    bool editorEnabled_ = true;
    bool minus_ = true;
    QToolButton* up_;
    QToolButton* down_;
};

#pragma once
// The large numeric readout: a number drawn right-aligned, as a decimal number or, in angle
// mode, as degrees, minutes and seconds.
#include <QColor>
#include <QWidget>

class TDisplay : public QWidget {
    Q_OBJECT
public:
    explicit TDisplay(QWidget* parent = nullptr);

    double Value() const { return value_; }
    // Rounded to Precision decimals (halves away from zero); stored and redrawn only when the
    // rounded value differs from the stored one.
    void SetValue(double value);
    int Precision() const { return precision_; }
    // 0..14; other values are ignored. The stored value is not rounded again.
    void SetPrecision(int p);
    // The separator shown: the language's (systemDecimalSeparator) until one is set.
    QChar DecSep() const;
    void SetDecSep(QChar c);
    bool Angle() const { return angle_; }
    void SetAngle(bool on);
    QColor Color() const { return color_; }
    void SetColor(const QColor& c);

    // The text the readout shows.
    QString DisplayText() const;
    // How often the control asked to be redrawn (for tests of the redraw rule).
    int RedrawCount() const { return redraws_; }

    // The rounding and the texts, for callers that need them without a control.
    static double RoundValue(double value, int precision);
    static QString DecimalText(double value, int precision, QChar sep);
    static QString AngleText(double value, int precision, QChar sep);

    QSize sizeHint() const override { return {60, 12}; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void redraw();

    double value_ = 0.0;
    int precision_ = 3;
    QChar decSep_;  // null: the language's
    bool angle_ = false;
    QColor color_;
    int redraws_ = 0;
};

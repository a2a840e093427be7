#pragma once
// "Długość podstawki": the length of the base (stand) under the angular and straightness optics,
// entered in millimetres or inches and kept in millimetres.
#include <QString>
#include <optional>

#include "foundations/FR_Utils.h"

class QLabel;
class QPushButton;
class TRealSpinEdit;

// The longest base length accepted, mm (the settings keep it in micrometres as a 32-bit integer).
inline constexpr double kMaxBaseLengthMm = 100000.0;
// The length as the field shows it in the unit (0 mm, 1 inch), and the field's value back in mm.
double BaseLengthShown(int unit, double mm);
double BaseLengthFromShown(int unit, double shown);
// The message for a typed base length that is refused: not a number, not above zero, or longer
// than kMaxBaseLengthMm; nullopt when the text is a base length.
std::optional<QString> BaseLengthError(int unit, const QString& typed);

class TFPodstawka : public TSSForm {
    Q_OBJECT
public:
    static constexpr int HelpContext = 122;
    explicit TFPodstawka(QWidget* parent = nullptr);

    // The unit label, the field's decimals and its value for the unit and the length in mm.
    void SetUp(int unit, double valueMm);
    // The field's length in mm.
    double LengthMm() const;
    // OK: a refused length is shown with its message and the window stays open.
    void BitBtn1Click();
    void BitBtnPomocClick();

    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;  // "[mm]" or "[in]"
    TRealSpinEdit* SpinEdit1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtnPomoc;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int unit_ = 0;
};

// Asks for the base length: Unit 0 shows mm (no decimals), 1 inches (3 decimals); Value is the
// current length in mm. The entered length in mm on OK, Value otherwise.
double AskBaseLength(int Unit, double Value, QWidget* parent = nullptr);

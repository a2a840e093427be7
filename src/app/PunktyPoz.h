#pragma once
// Target points editor: the list of positions (mm) or angles (degrees) a positioning or
// angular run visits. The list logic is in evaluation/TargetPoints; this form gathers input.
#include <QString>
#include <functional>
#include <optional>

#include "evaluation/MeasurementFilesDocument.h"
#include "foundations/FR_Utils.h"
#include "foundations/PomiarCol.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;
class TMSpinEdit;
class TRealSpinEdit;

// Open and save dialogs of the program's file commands ("text (*.x)|*.x|..." filters). A hook
// answers them in place of the user (tests); without one a QFileDialog is shown.
using FileDialogHook = std::function<std::optional<QString>(const FileDialogSettings&, bool save)>;
void setFileDialogHook(FileDialogHook hook);
std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogSettings& settings, bool save);
// "text (*.dtp)|*.dtp|text (*.*)|*.*" as a Qt name filter list.
QString QtNameFilters(const QString& filter);

class TFPunktyPoz : public TSSForm {
    Q_OBJECT
public:
    explicit TFPunktyPoz(QWidget* parent = nullptr);
    ~TFPunktyPoz() override;  // FormDestroy

    // Steps before showing: kind, unit and picture, the working copy (shown in inches with
    // unit 1), the table, the start value, then the remembered generator values.
    void Prepare(const TPunkt& points, double start, uint8_t kind, int32_t unit, uint8_t picture,
                 const QString& pointListDir = QString());
    // The edited list in the stored units (mm or degrees).
    TPunkt ResultPoints() const;
    double ResultStart() const;

    void FormShow();
    void FormDestroy();
    void FillGrid();
    void ButtonObliczClick();
    void ButtonWczytajClick();
    void ButtonZapiszClick();
    void ButtonUsunPunktClick();
    void ButtonUsunWszystkieClick();
    // False when the key is dropped (with a beep).
    bool PunktyGridKeyPress(QChar key);
    void PunktyGridSetEditText(int column, int row, const QString& text);
    void BitBtnOkClick();
    void BitBtnPomocClick();

    TPunkt WorkPoints;
    uint8_t ListKind = 1;        // 1 positioning (".dtp"), 0 angular (".dtk")
    uint8_t PatternPicture = 0;
    int32_t ListUnit = 0;        // 1: values shown in inches
    QString PointListDir;
    int BeepCount = 0;           // beeps given, for the tests' sake

    QString UnitText() const;
    QString ListExt() const;
    QString ListFilter() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void beep();
    void layoutColumns();
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

    QTableWidget* PunktyGrid;
    TRealSpinEdit* StartPointEdit;
    TRealSpinEdit* SpinEditDystans;
    TRealSpinEdit* SpinEditOdstep;
    TMSpinEdit* SpinEditIloscPunktow;
    QRadioButton* RadioButtonOdstep;
    QRadioButton* RadioButtonIloscPunktow;
    QLabel* label6;
    QString distanceCaption_;  // label6 of a positioning list, translated
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Image1;
    QLabel* Image2;
    bool filling_ = false;
    bool destroyed_ = false;
};

// Edits Points (TargetPoints with Kind 1, AngularTargetPoints with Kind 0) and the start-point
// field; true when closed with OK, and only then are Points and StartEdit changed.
bool EditTargetPoints(TPunkt& Points, TRealSpinEdit* StartEdit, uint8_t Kind, int32_t Unit,
                      uint8_t Picture, const QString& PointListDir = QString(),
                      QWidget* parent = nullptr);
// The same with the start point as a value (in the unit shown), for a window without the
// start-point field.
bool EditTargetPoints(TPunkt& Points, double& Start, uint8_t Kind, int32_t Unit, uint8_t Picture,
                      const QString& PointListDir = QString(), QWidget* parent = nullptr);

#pragma once
// Service form that edits the calibration file: the sensor table with live raw values, the
// laser's wavelength and name, and the two-axis detector's offsets and scale.
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

#include "foundations/FR_Utils.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TDisplay;
class TRealSpinEdit;

class TKalibracja : public TSSForm {
    Q_OBJECT
public:
    explicit TKalibracja(QWidget* parent = nullptr);
    ~TKalibracja() override;

    // The calibration file the form loads and saves; before any choice the one in the
    // program folder.
    QString CalibrationFile() const { return calibrationFile_; }

    // Runs the open dialog (replaceable for tests: returns the chosen path, empty on cancel).
    std::function<QString()> ChooseFile;
    // Shows a message (replaceable for tests).
    std::function<void(const QString&)> ShowMessage;

    // "O&dczyt Pliku": choose a file, then LoadFile.
    void OdczytPlikuClick();
    // Takes Path as the form's file and loads it into the globals and the controls. A missing
    // file is created empty; an empty file loads nothing; a damaged one is reported and loads
    // nothing.
    void LoadFile(const QString& path);
    // "&Zapis Pliku": controls into the globals, the globals into the file.
    bool ZapisPlikuClick();
    // "&Start": the environment thread shows raw values here from now on.
    void StartClick();
    // "&Koniec" (and any other way of closing the form): the environment reading stops.
    void KoniecClick();
    // "Oblicz długość fali".
    void ObliczDlugoscFaliClick();
    // "Zapamiętaj": the detector's live position becomes its offsets.
    void ZapamietajClick();
    // A click on spin edit Number (1..84): A[1]..A[5] of a channel take its live raw value.
    void SpinEditClick(int number);

    QSpinBox* SpinEdit(int number) const;  // 1..84

public slots:
    // The six raw environment words (air, material 1-3, humidity, pressure), from the
    // environment thread's hand-off.
    void ShowMeteoCounts(const std::array<int32_t, 6>& counts);
    // The two-axis detector's live position, from the frame parser.
    void ShowDetectorPosition(double x, double y);

signals:
    // "&Start" was pressed: the opener starts the environment thread.
    void meteoReadingRequested();

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showValues();
    void stopReading();

    std::array<QSpinBox*, 84> spinEdits_{};
    std::array<QLabel*, 6> rawLabels_{};
    std::array<int32_t, 6> meteoCounts_{};
    QLineEdit* ENazwaLasera = nullptr;
    TRealSpinEdit* RSDlFali = nullptr;
    QComboBox* CBGStab = nullptr;
    TRealSpinEdit* RSOdstep = nullptr;
    TDisplay* DispOfsetX = nullptr;
    TDisplay* DispOfsetY = nullptr;
    TRealSpinEdit* rseKalibbracjaXY = nullptr;
    QString calibrationFile_;
    bool loadedOnShow_ = false;
};

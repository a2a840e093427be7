#pragma once
// The four English reports of a positioning run, one row per target point: the readings of
// every cycle (TqrLista) and the per-point tables of ISO 230-2 (TQRTabISO), NMTBA (TQRNMTBA)
// and VDI/DGQ 3441 (TTabLista2). They read the run's collections as the results page evaluated
// them (PositioningCycles, ForwardStats, BackwardStats); nothing is computed twice.
#include <QChar>
#include <QString>
#include <optional>

#include "evaluation/MeasurementHeader.h"
#include "foundations/PomiarCol.h"
#include "reports/ReportEngine.h"

namespace reports {

// What the header of the English reports shows besides the run.
struct ReportSheet {
    TMeasurementHeader header;
    QString measurementName;  // the file name shown in the window caption
    QString standardName;     // the text chosen in ComboBoxNorma
    QString reportNumber;
    QString dateText;         // the print date
    QString laboratoryName;   // program settings; empty by default
    QString laboratoryAddress;
    int lengthUnit = 0;       // 0 mm, 1 inch
    QChar separator = u'.';
};

// The run as the results page holds it.
struct PositioningRunData {
    const TCykl* cycles = nullptr;
    const TPunkt* means = nullptr;   // ForwardStats
    const TPunkt* sigmas = nullptr;  // BackwardStats (empty for runs of three points or fewer)
};

// The window caption less its leading mode caption and the " - " after it.
QString MeasurementNameFromCaption(const QString& caption, const QString& modeCaption);

// "in mm" / "in inch".
QString UnitLabelText(int lengthUnit);
// The position column: 1 decimal in mm, 2 decimals in inches; nullopt for any other unit.
std::optional<QString> PositionText(double mm, int lengthUnit, QChar separator);

// Shared by the four reports: the header, the footer and the row state.
class PositioningReport : public Report {
public:
    PositioningReport(const QString& reportName, const ReportSheet& sheet, const PositioningRunData& run);

protected:
    // Points printed: those of cycle 0 that have their means.
    int RowCount() const;
    double Mean(int k, bool forward) const;
    double Sigma(int k, bool forward) const;
    double PooledSigma(int k) const;
    double Reversal(int k) const { return Mean(k, true) - Mean(k, false); }
    QString Value(double v, int decimals) const;
    // The common header band of the given height; the column heads go below y = kHeadsTop.
    Band& AddSheetHeader(double height);
    void AddFooter();
    void FillSheetHeader();
    void FillPosition(Band& detail, int k);

    static constexpr double kHeadsTop = 190.0;
    ReportSheet sheet_;
    PositioningRunData run_;
    int rows_ = 0;  // row counter
};

class TqrLista : public PositioningReport {
public:
    TqrLista(const ReportSheet& sheet, const PositioningRunData& run);
    void qrListaBeforePrint();
    bool qrListaNeedData();

    static constexpr int kColumns = 7;
    // Left edges of the cycle columns as laid out.
    static constexpr double kForwardX[kColumns] = {88, 128, 168, 208, 248, 288, 336};
    static constexpr double kReverseX[kColumns] = {400, 444, 486, 529, 570, 618, 666};
    static constexpr double kLeftSeparator = 78, kMiddleSeparator = 383, kRightSeparator = 710;
    static constexpr double kColumnWidth = 38;

private:
    // Shows the cycles of block b (7 cycles a block) in the columns.
    void LayoutBlock(int block);
    int CycleCount() const;
    int BlockCount() const;
    int block_ = 0;
};

class TQRTabISO : public PositioningReport {
public:
    TQRTabISO(const ReportSheet& sheet, const PositioningRunData& run);
    void QRTabISOBeforePrint();
    bool QRTabISONeedData();
};

class TQRNMTBA : public PositioningReport {
public:
    TQRNMTBA(const ReportSheet& sheet, const PositioningRunData& run);
    void QRNMTBABeforePrint();
    bool QRNMTBANeedData();
};

class TTabLista2 : public PositioningReport {
public:
    TTabLista2(const ReportSheet& sheet, const PositioningRunData& run);
    void TabLista2BeforePrint();
    bool TabLista2NeedData();
};

}  // namespace reports

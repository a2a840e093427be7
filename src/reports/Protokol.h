#pragma once
// The two Polish reports of a positioning run: the measurement protocol (TFormProtokol: machine
// data, measuring conditions, the chart, the results by the chosen standard, notes) and the table
// of measured cycles (TRTabela1Form: every point of every cycle).
#include <QChar>
#include <cstdint>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "evaluation/MeasurementHeader.h"
#include "foundations/PomiarCol.h"
#include "reports/ReportEngine.h"

namespace platform {
class TChart;
}

namespace reports {

// Splits the results list's lines (name " * " limit " * " value) into the names and the values
// memo; a line without "*" goes whole into the names with an empty value line.
void SplitResultLines(QStringList& Names, QStringList& Values, const QStringList& Source);

// The display units of the measuring conditions, as the window shows them.
class IConditionUnits {
public:
    virtual ~IConditionUnits() = default;
    virtual QString FormatPressure(double hPa) const = 0;
    virtual QString FormatTemperature(double celsius) const = 0;
    // The header's reference temperature text (°C) as the protocol prints it.
    virtual QString FormatReferenceTemperature(const QString& headerText) const = 0;
};

// A pressure text of the header as a number of hPa ("--" and empty: 1013.1; "." or "," as the
// separator; the unit after it ignored). nullopt when it holds no number.
std::optional<double> PressureOfText(const QString& text);
// An air or material temperature text in °C ("--" and empty: 20).
std::optional<double> TemperatureOfText(const QString& text);
// The reference temperature line: the header's °C text (empty: 20.0) in the display unit
// (0 °C, 1 °F) with one decimal and the given separator; a text that holds no number prints
// as it is with " °C", cut to 7 characters.
QString ReferenceTemperatureText(const QString& text, uint8_t temperatureUnit, QChar separator);

struct ProtocolData {
    TMeasurementHeader header;
    QString measurementName;   // from the window caption
    QString standardName;      // ComboBoxNorma's text
    QStringList resultLines;   // the lines of ListboxWyniki
    const platform::TChart* chart = nullptr;  // wykres
    const IConditionUnits* units = nullptr;
};

class TFormProtokol : public Report {
public:
    TFormProtokol(const ProtocolData& data, const QString& printDate);
    void QuickRepBeforePrint();
    bool QuickRepNeedData();
    // Print event of the chart: scaled to the printed width, once per size. (Report units are
    // screen pixels, so a further two-thirds reduction would print the axis labels at 4 pt.)
    void WykresPrint(ReportChart& chart, const QRectF& r);

    std::shared_ptr<ReportChart> Wykres;

private:
    ProtocolData data_;
    int records_ = 0;
};

class TRTabela1Form : public Report {
public:
    TRTabela1Form(const TCykl& cycles, const TMeasurementHeader& header, const QString& measurementName,
                  const QString& printDate, QChar separator = u'.');
    // The table reads the cycles while it is laid out and printed: a temporary would be gone.
    TRTabela1Form(TCykl&&, const TMeasurementHeader&, const QString&, const QString&, QChar = u'.') = delete;
    void QuickRepBeforePrint();
    bool QuickRepNeedData();
    bool DetailBand1BeforePrint();
    void QRBand3BeforePrint();

private:
    const TCykl& cycles_;
    TMeasurementHeader header_;
    QString name_;
    QChar separator_;
    int cycle_ = 0;
    int point_ = -1;
    bool newCycle_ = true;
    bool hasRow_ = false;
};

}  // namespace reports

#pragma once
// The measurement header: 646 bytes of fixed-capacity short strings (length byte, then the
// characters in code page 1250) at the start of every measurement file.
#include <QByteArray>
#include <QString>
#include <array>

struct TMeasurementHeader {
    static constexpr int Size = 646;
    static constexpr int NoteLines = 5;

    // Capacities in characters (each field takes capacity + 1 bytes).
    static constexpr int MachineTypeCap = 20;
    static constexpr int SerialNumberCap = 20;
    static constexpr int OperatorCap = 20;
    static constexpr int CompanyCap = 20;
    static constexpr int DateCap = 17;
    static constexpr int AxisCap = 3;
    static constexpr int AirTemperatureCap = 7;
    static constexpr int MaterialTemperatureCap = 7;
    static constexpr int HumidityCap = 4;
    static constexpr int PressureCap = 8;
    static constexpr int ReferenceTemperatureCap = 4;
    static constexpr int FeedCap = 9;
    static constexpr int NoteCap = 98;

    QString MachineType;
    QString SerialNumber;
    QString Operator;
    QString Company;
    QString Date;
    QString Axis;
    QString AirTemperature;
    QString MaterialTemperature;
    QString Humidity;
    QString Pressure;
    QString ReferenceTemperature;
    QString Feed;
    std::array<QString, NoteLines> Notes;

    // The 646 stored bytes. Each text is cut to its capacity; bytes beyond a string's length are
    // written as zeros.
    QByteArray toBytes() const;
    // Reads 646 bytes (fewer: std::invalid_argument). A stored length above the capacity is cut
    // to the capacity; bytes beyond the length are ignored.
    static TMeasurementHeader fromBytes(const QByteArray& bytes);

    // Every field cut to its capacity (as it would be stored).
    void CutToCapacity();

    bool operator==(const TMeasurementHeader&) const = default;
};

// Copies each field of Source into Target, each cut to its capacity.
void ApplyMeasurementHeader(TMeasurementHeader& Target, const TMeasurementHeader& Source);

// Cuts a text to `capacity` characters, the way a short string of that capacity holds it.
QString CutShortString(const QString& text, int capacity);

#include <gtest/gtest.h>

#include "evaluation/MeasurementHeader.h"

namespace {

// Builds a short string of `cap` characters at `pos`: length byte, text, zero padding.
void put(QByteArray& b, int pos, int cap, const QByteArray& text) {
    b[pos] = static_cast<char>(text.size());
    for (int i = 0; i < cap; ++i) b[pos + 1 + i] = i < text.size() ? text[i] : '\0';
}

TMeasurementHeader sample() {
    TMeasurementHeader h;
    h.MachineType = "VMC 800";
    h.SerialNumber = "12/34";
    h.Operator = QString::fromUtf8("Łukasz");
    h.Company = "Brantova";
    h.Date = "2026-12-10";
    h.Axis = "X";
    h.AirTemperature = QString::fromUtf8("20.1°C");
    h.MaterialTemperature = QString::fromUtf8("19.8°C");
    h.Humidity = "50 %";
    h.Pressure = "1000 hPa";
    h.ReferenceTemperature = "20.0";
    h.Feed = "1000";
    h.Notes[0] = "first";
    h.Notes[4] = QString::fromUtf8("żółw");
    return h;
}

}  // namespace

TEST(MeasurementHeader, BytesFollowTheFieldTable) {
    QByteArray want(646, '\x55');  // anything the builder does not set shows up
    put(want, 0, 20, "VMC 800");
    put(want, 21, 20, "12/34");
    put(want, 42, 20, "\xA3ukasz");
    put(want, 63, 20, "Brantova");
    put(want, 84, 17, "2026-12-10");
    put(want, 102, 3, "X");
    put(want, 106, 7, "20.1\xB0" "C");
    put(want, 114, 7, "19.8\xB0" "C");
    put(want, 122, 4, "50 %");
    put(want, 127, 8, "1000 hPa");
    put(want, 136, 4, "20.0");
    put(want, 141, 9, "1000");
    put(want, 151, 98, "first");
    for (int i = 1; i < 4; ++i) put(want, 151 + 99 * i, 98, "");
    put(want, 151 + 99 * 4, 98, "\xBF\xF3\xB3w");
    const TMeasurementHeader h = sample();
    EXPECT_EQ(h.toBytes(), want);
    EXPECT_EQ(TMeasurementHeader::fromBytes(want), h);
}

TEST(MeasurementHeader, TextsAreCutToTheirCapacity) {
    TMeasurementHeader h;
    h.MachineType = QString(25, 'M');
    h.Axis = "XYZW";
    h.Notes[2] = QString(120, 'n');
    const QByteArray b = h.toBytes();
    EXPECT_EQ(b.size(), 646);
    EXPECT_EQ(static_cast<unsigned char>(b[0]), 20);
    EXPECT_EQ(b[21], '\0');  // serial number still at its place
    EXPECT_EQ(static_cast<unsigned char>(b[102]), 3);
    const TMeasurementHeader r = TMeasurementHeader::fromBytes(b);
    EXPECT_EQ(r.MachineType, QString(20, 'M'));
    EXPECT_EQ(r.Axis, "XYZ");
    EXPECT_EQ(r.Notes[2], QString(98, 'n'));

    TMeasurementHeader applied;
    ApplyMeasurementHeader(applied, h);
    EXPECT_EQ(applied, r);
}

TEST(MeasurementHeader, StoredLengthAboveCapacityIsCutAndPaddingIgnored) {
    QByteArray b(646, '\0');
    put(b, 0, 20, "ABC");
    b[0] = static_cast<char>(30);        // length beyond the capacity
    for (int i = 4; i < 21; ++i) b[i] = 'q';  // garbage after the text
    put(b, 21, 20, "SN");
    b[21 + 1 + 5] = 'z';                 // garbage beyond the length
    b[102] = static_cast<char>(200);
    b[103] = 'Y';
    const TMeasurementHeader h = TMeasurementHeader::fromBytes(b);
    EXPECT_EQ(h.MachineType, QString("ABC") + QString(17, 'q'));
    EXPECT_EQ(h.SerialNumber, "SN");
    EXPECT_EQ(h.Axis, QString("Y") + QString(2, QChar(0)));
    EXPECT_THROW(TMeasurementHeader::fromBytes(b.left(645)), std::invalid_argument);
}

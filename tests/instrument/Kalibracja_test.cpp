#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>

#include "foundations/Display.h"
#include "foundations/RealSpinEdit.h"
#include "foundations/SharedGlobals.h"
#include "instrument/KalibracjaFile.h"
#include "app/dialogs/Unit_Kalibracja.h"
#include "platform/AppPaths.h"
#include "support/FileSizeLimit.h"

namespace {

QByteArray hex(const char* h) { return QByteArray::fromHex(h); }

TCalibrationData sample() {
    TCalibrationData d;
    for (int c = 0; c < 6; ++c)
        for (int i = 0; i < 7; ++i) {
            d.Table[c][0][i] = 1000 * (c + 1) + i;
            d.Table[c][1][i] = -(100 * c + i);
        }
    d.LaserWavelength = 632.99139822e-9;
    d.LaserName = "Łódź-1";
    d.OffsetX = -1234;
    d.OffsetY = 0x01020304;
    d.CalibrationXY = 18.0;
    return d;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(Real48, KnownBytesBothWays) {
    struct { double value; const char* bytes; } cases[] = {
        {18.0, "850000000010"},
        {0.0, "000000000000"},
        {1.0, "810000000000"},
        {-1.0, "810000000080"},
        {0.5, "800000000000"},
        {-18.5, "850000000094"},
        {0.1, "7dcdcccccc4c"},  // mantissa rounded to the nearest
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeReal48(c.value).toHex(), QByteArray(c.bytes)) << c.value;
        EXPECT_NEAR(DecodeReal48(hex(c.bytes)), c.value, std::fabs(c.value) * 1e-12) << c.value;
    }
    EXPECT_EQ(DecodeReal48(hex("850000000010")), 18.0);
    // Out of the format's range: the largest magnitude, or 0; never garbage.
    EXPECT_EQ(EncodeReal48(1e300).toHex(), QByteArray("ffffffffff7f"));
    EXPECT_EQ(EncodeReal48(1e-300).toHex(), QByteArray("000000000000"));
    EXPECT_EQ(EncodeReal48(NAN).toHex(), QByteArray("000000000000"));
    for (double v : {12.3456789, -1e-20, 3.0e30, 1.0 / 3.0})
        EXPECT_NEAR(DecodeReal48(EncodeReal48(v)), v, std::fabs(v) * 4e-12) << v;
}

TEST(CalibrationFile, LayoutByteForByte) {
    const TCalibrationData d = sample();
    const QByteArray b = EncodeCalibration(d);
    ASSERT_EQ(b.size(), 511);
    // Channel 2, row B, point 3 at 80 + 40 + 12.
    EXPECT_EQ(b.mid(132, 4).toHex(), QByteArray("99ffffff"));  // -(100 + 3)
    EXPECT_EQ(b.mid(0, 4).toHex(), QByteArray("e8030000"));     // 1000
    EXPECT_EQ(b.mid(28, 12), QByteArray(12, '\0'));             // points 7-9 as held (zero)
    double w;
    std::memcpy(&w, b.constData() + 480, 8);
    EXPECT_EQ(w, 632.99139822e-9);
    EXPECT_EQ(b.mid(488, 9).toHex(), QByteArray("06a3f3649f2d3100" "00"));  // "Łódź-1" in code page 1250
    EXPECT_EQ(b.mid(497, 4).toHex(), QByteArray("2efbffff"));
    EXPECT_EQ(b.mid(501, 4).toHex(), QByteArray("04030201"));
    EXPECT_EQ(b.mid(505, 6).toHex(), QByteArray("850000000010"));
}

TEST(CalibrationFile, SaveLoadSaveGivesTheSameBytes) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Kalibracja.dat");
    ASSERT_TRUE(WriteCalibrationFile(path, sample()));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray first = f.readAll();
    f.close();
    TCalibrationData back;
    ASSERT_EQ(ReadCalibrationFile(path, back), CalibrationStatus::Loaded);
    EXPECT_TRUE(back == sample());
    EXPECT_EQ(EncodeCalibration(back), first);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Kalibracja.dat"});  // no temporary left
}

// A disk that fills up while the record is written (files may grow to 64 bytes only): the save
// fails with its reason and the calibration already on disk stays whole.
TEST(CalibrationFile, FullDiskKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Kalibracja.dat");
    ASSERT_TRUE(WriteCalibrationFile(path, sample()));
    TCalibrationData other = sample();
    other.OffsetX = 77;
    QString error;
    bool written = true;
    {
        testsupport::FileSizeLimit full(64);
        ASSERT_TRUE(full.ok());
        written = WriteCalibrationFile(path, other, &error);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(error, "File too large");
    TCalibrationData back;
    ASSERT_EQ(ReadCalibrationFile(path, back), CalibrationStatus::Loaded);
    EXPECT_TRUE(back == sample());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Kalibracja.dat"});
}

TEST(CalibrationFile, ShortFilesTakeDefaultsFieldByField) {
    TCalibrationData s = sample();
    s.CalibrationXY = 25.5;
    const QByteArray full = EncodeCalibration(s);
    struct { int size; bool wavelength, name, offsets, scale; } cases[] = {
        {480, false, false, false, false},
        {487, false, false, false, false},
        {488, true, false, false, false},
        {496, true, false, false, false},
        {497, true, true, false, false},
        {501, true, true, true, false},  // X only
        {505, true, true, true, false},
        {510, true, true, true, false},
        {511, true, true, true, true},
        {600, true, true, true, true},   // bytes after the record are ignored
    };
    for (const auto& c : cases) {
        TCalibrationData d;
        QByteArray bytes = full.left(c.size);
        if (c.size > 511) bytes += QByteArray(c.size - 511, '\x55');
        ASSERT_EQ(DecodeCalibration(bytes, d), CalibrationStatus::Loaded) << c.size;
        EXPECT_EQ(d.Table[5][1][6], -506) << c.size;
        EXPECT_EQ(d.LaserWavelength, c.wavelength ? 632.99139822e-9 : 6.329912526e-7) << c.size;
        EXPECT_EQ(d.LaserName, c.name ? "Łódź-1" : "Belgia") << c.size;
        EXPECT_EQ(d.OffsetX, c.offsets ? -1234 : 0) << c.size;
        EXPECT_EQ(d.OffsetY, c.size >= 505 ? 0x01020304 : 0) << c.size;
        EXPECT_EQ(d.CalibrationXY, c.scale ? 25.5 : 18.0) << c.size;
    }
}

TEST(CalibrationFile, DamagedFilesAreRefusedAndLeaveTheTargetAlone) {
    QByteArray full = EncodeCalibration(sample());
    auto withWavelength = [&](double w) {
        QByteArray b = full;
        std::memcpy(b.data() + 480, &w, 8);
        return b;
    };
    QByteArray longName = full;
    longName[488] = 9;
    QByteArray zeroScale = full;
    std::memset(zeroScale.data() + 505, 0, 6);
    const QByteArray damaged[] = {full.left(479), full.left(1), longName, withWavelength(0.0),
                                  withWavelength(-6e-7), withWavelength(NAN), withWavelength(INFINITY),
                                  zeroScale};
    for (const QByteArray& b : damaged) {
        TCalibrationData d;
        d.OffsetX = 77;
        EXPECT_EQ(DecodeCalibration(b, d), CalibrationStatus::Damaged) << b.size();
        EXPECT_EQ(d.OffsetX, 77);
    }
    TCalibrationData d;
    EXPECT_EQ(DecodeCalibration(QByteArray(), d), CalibrationStatus::Empty);
    EXPECT_EQ(ReadCalibrationFile("/nonexistent/dir/Kalibracja.dat", d), CalibrationStatus::Missing);
}

TEST(CalibrationFile, StartupReadingSetsGlobalsOrDefaults) {
    QTemporaryDir dir;
    ResetSharedGlobals();
    EXPECT_FALSE(ReadLaserCalibration(dir.path()));  // missing
    EXPECT_EQ(LaserName, "Belgia");
    EXPECT_EQ(CalibrationMissingMessage().left(22), "Brak lub uszkodzony pl");

    writeFile(dir.filePath("Kalibracja.dat"), EncodeCalibration(sample()).left(480));
    EXPECT_TRUE(ReadLaserCalibration(dir.path()));
    EXPECT_EQ(CalibrationTable[0][0][0], 1000);
    EXPECT_EQ(LaserWavelength, 6.329912526e-7);
    EXPECT_EQ(LaserName, "Belgia");
    EXPECT_EQ(OffsetX, 0);

    TCalibrationData d = sample();
    d.CalibrationXY = 20.0;
    writeFile(dir.filePath("Kalibracja.dat"), EncodeCalibration(d));
    EXPECT_TRUE(ReadLaserCalibration(dir.path()));
    EXPECT_EQ(LaserName, "Łódź-1");
    EXPECT_EQ(OffsetY, 0x01020304);
    EXPECT_EQ(CalibrationXY, 20.0);

    QByteArray bad = EncodeCalibration(d);
    bad[488] = char(200);
    writeFile(dir.filePath("Kalibracja.dat"), bad);
    EXPECT_FALSE(ReadLaserCalibration(dir.path()));
    EXPECT_EQ(CalibrationTable[0][0][0], 0);  // nothing from a damaged file is trusted
    EXPECT_EQ(LaserName, "Belgia");
    EXPECT_EQ(CalibrationXY, 18.0);
    ResetSharedGlobals();
}

TEST(StabilisationWavelength, FromTheIodineLines) {
    EXPECT_NEAR(StabilisationWavelengthNm(9, 0.0), 632.99139822, 5e-9);
    EXPECT_DOUBLE_EQ(StabilisationWavelengthNm(9, 0.0), 2.99792458e17 / 473612214705000.0);
    EXPECT_DOUBLE_EQ(StabilisationWavelengthNm(0, 10.0),
                     2.99792458e17 / (473612214705000.0 + 165.116e6 - 10.0e6));
    EXPECT_DOUBLE_EQ(StabilisationWavelengthNm(1, 10.0),
                     2.99792458e17 / (473612214705000.0 + 152.255e6 + 10.0e6));
    EXPECT_DOUBLE_EQ(StabilisationWavelengthNm(11, 2.5),
                     2.99792458e17 / (473612214705000.0 - 21.565e6 + 2.5e6));
    EXPECT_TRUE(std::isnan(StabilisationWavelengthNm(12, 0.0)));
    EXPECT_TRUE(std::isnan(StabilisationWavelengthNm(-1, 0.0)));
}

class KalibracjaFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSharedGlobals();
        platform::setProgramDirectory(dir.path());
    }
    void TearDown() override {
        platform::setProgramDirectory(QString());
        ResetSharedGlobals();
    }
    QTemporaryDir dir;
};

TEST_F(KalibracjaFormTest, ControlsNamedAndFileLoadedAndSaved) {
    const QString path = dir.filePath("k.dat");
    writeFile(path, EncodeCalibration(sample()));
    TKalibracja form;
    QStringList messages;
    form.ShowMessage = [&](const QString& m) { messages << m; };
    EXPECT_EQ(form.objectName(), "Kalibracja");
    EXPECT_EQ(form.windowTitle(), "Kalibracja");
    for (const char* name : {"ENazwaLasera", "RSDlFali", "CBGStab", "RSOdstep", "DispOfsetX", "DispOfsetY",
                             "rseKalibbracjaXY", "SpinEdit1", "SpinEdit84", "Label2", "Label7"})
        EXPECT_NE(form.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(form.findChild<QComboBox*>("CBGStab")->count(), 12);
    EXPECT_EQ(form.findChild<QComboBox*>("CBGStab")->itemText(10), "j-j, odstęp do i");

    form.LoadFile(path);
    EXPECT_TRUE(messages.isEmpty());
    // Channel 3, point 4: A in spin edit 28 + 8 + 1 = 37, B in 38.
    EXPECT_EQ(form.SpinEdit(37)->value(), 3004);
    EXPECT_EQ(form.SpinEdit(38)->value(), -204);
    EXPECT_EQ(form.findChild<QLineEdit*>("ENazwaLasera")->text(), "Łódź-1");
    EXPECT_NEAR(form.findChild<TRealSpinEdit*>("RSDlFali")->Value(), 632.9913982, 1e-7);
    EXPECT_EQ(form.findChild<TDisplay*>("DispOfsetX")->Value(), -1234);
    EXPECT_EQ(OffsetY, 0x01020304);

    // Edits go to the globals and the file.
    form.SpinEdit(84)->setValue(555);  // channel 6, B[6]
    form.findChild<QLineEdit*>("ENazwaLasera")->setText("HeNe");
    form.findChild<TRealSpinEdit*>("rseKalibbracjaXY")->SetValue(19.5);
    ASSERT_TRUE(form.ZapisPlikuClick());
    TCalibrationData back;
    ASSERT_EQ(ReadCalibrationFile(path, back), CalibrationStatus::Loaded);
    EXPECT_EQ(back.Table[5][1][6], 555);
    EXPECT_EQ(back.LaserName, "HeNe");
    EXPECT_EQ(back.CalibrationXY, 19.5);
    EXPECT_NEAR(back.LaserWavelength, 632.9913982e-9, 1e-16);
    EXPECT_EQ(back.OffsetX, -1234);
    EXPECT_EQ(CalibrationTable[5][1][6], 555);
}

TEST_F(KalibracjaFormTest, MissingEmptyAndDamagedFilesLoadNothing) {
    TKalibracja form;
    QStringList messages;
    form.ShowMessage = [&](const QString& m) { messages << m; };
    LaserName = "Keep";
    const QString missing = dir.filePath("nowy.dat");
    form.LoadFile(missing);
    EXPECT_TRUE(QFile::exists(missing));
    EXPECT_EQ(QFileInfo(missing).size(), 0);
    form.LoadFile(missing);  // now empty
    EXPECT_EQ(LaserName, "Keep");
    EXPECT_TRUE(messages.isEmpty());

    QByteArray bad = EncodeCalibration(sample());
    bad[488] = 9;
    writeFile(dir.filePath("bad.dat"), bad);
    form.LoadFile(dir.filePath("bad.dat"));
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(LaserName, "Keep");
    EXPECT_EQ(form.CalibrationFile(), dir.filePath("bad.dat"));
}

TEST_F(KalibracjaFormTest, LiveValuesOffsetsAndWavelength) {
    TKalibracja form;
    QStringList messages;
    form.ShowMessage = [&](const QString& m) { messages << m; };
    form.ShowMeteoCounts({11, 22, 33, 44, 55, 66});
    EXPECT_EQ(form.findChild<QLabel*>("Label4")->text(), "33");
    // A[1]..A[5] take the live value, A[0], A[6] and the B row do not.
    form.SpinEditClick(3);   // channel 1, A[1]
    form.SpinEditClick(81);  // channel 6, A[5]
    form.SpinEditClick(1);   // channel 1, A[0]
    form.SpinEditClick(13);  // channel 1, A[6]
    form.SpinEditClick(18);  // channel 2, B[1]
    EXPECT_EQ(form.SpinEdit(3)->value(), 11);
    EXPECT_EQ(form.SpinEdit(81)->value(), 66);
    EXPECT_EQ(form.SpinEdit(1)->value(), 0);
    EXPECT_EQ(form.SpinEdit(13)->value(), 0);
    EXPECT_EQ(form.SpinEdit(18)->value(), 0);

    form.ShowDetectorPosition(12.6, -7.4);
    form.ZapamietajClick();
    EXPECT_EQ(OffsetX, 13);
    EXPECT_EQ(OffsetY, -7);

    form.ObliczDlugoscFaliClick();
    ASSERT_EQ(messages, QStringList{"Podaj gdzie stabilizuje!!"});
    form.findChild<QComboBox*>("CBGStab")->setCurrentIndex(9);
    form.ObliczDlugoscFaliClick();
    EXPECT_NEAR(form.findChild<TRealSpinEdit*>("RSDlFali")->Value(), 632.9913982, 1e-9);

    int started = 0;
    QObject::connect(&form, &TKalibracja::meteoReadingRequested, [&] { ++started; });
    MeteoStopped = true;
    form.StartClick();
    EXPECT_EQ(started, 1);
    EXPECT_TRUE(CalibrationFormOpen.load());
    EXPECT_FALSE(MeteoStopped.load());
    form.reject();  // any way of closing hands the readings back
    EXPECT_FALSE(CalibrationFormOpen.load());
    EXPECT_TRUE(MeteoStopped.load());
}

}  // namespace

namespace {

TEST_F(KalibracjaFormTest, FileChosenOnceWhenTheFormOpens) {
    const QString path = dir.filePath("k.dat");
    writeFile(path, EncodeCalibration(sample()));
    TKalibracja form;
    int asked = 0;
    form.ChooseFile = [&] { ++asked; return path; };
    form.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(LaserName, "Łódź-1");
    // Coming back to the form (after a message box, say) does not ask again.
    form.hide();
    form.show();
    form.activateWindow();
    QCoreApplication::processEvents();
    EXPECT_EQ(asked, 1);
    form.findChild<QPushButton*>("BOdczytPliku")->click();
    EXPECT_EQ(asked, 2);
}

}  // namespace

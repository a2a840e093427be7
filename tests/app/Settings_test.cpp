#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <gtest/gtest.h>

#include "app/Settings.h"
#include "foundations/SharedGlobals.h"
#include "platform/Registry.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSharedGlobals();
        path = dir.filePath("VKM30.ini");
    }
    void TearDown() override { ResetSharedGlobals(); }
    void put(const char* section, const char* name, const QString& value) {
        platform::Registry r(path);
        r.writeString(QString(kSettingsKey) + "\\" + section, name, value);
    }
    TSettings read() {
        platform::Registry r(path);
        TSettings s;
        ReadSettings(r, s);
        return s;
    }
    QTemporaryDir dir;
    QString path;
};

TEST_F(SettingsTest, EmptyStoreGivesDefaultsAndFirstStartFolders) {
    StartPoint = 5.0;
    LengthUnit = 1;
    const TSettings s = read();
    EXPECT_EQ(s.CycleCount, 2);
    EXPECT_EQ(s.PointNumber, 25);
    EXPECT_EQ(s.ErrorWindow, 1000);
    EXPECT_EQ(s.PointDistance, 10);
    EXPECT_EQ(s.SignalGaugeMax, 175);
    EXPECT_EQ(s.SignalGaugeMin, 100);
    EXPECT_EQ(s.TransmissionIndex, 1);
    EXPECT_EQ(InterfaceMode.load(), 1);
    EXPECT_EQ(s.BaudRateIndex, 6);
    EXPECT_EQ(s.AltBaudRateIndex, 11);
    EXPECT_DOUBLE_EQ(s.BaseLength, 100.0);
    EXPECT_TRUE(s.Automatic);
    EXPECT_TRUE(s.StopAfterCycle);
    EXPECT_FALSE(s.HandControl);
    EXPECT_EQ(s.AutoAcceptTime, 70);
    EXPECT_EQ(s.ReportNumber, "01");
    EXPECT_EQ(SystemNumber, "30122");
    EXPECT_DOUBLE_EQ(ReferenceTemperature, 20.0);
    EXPECT_DOUBLE_EQ(DefaultPressure, 1013.0);
    EXPECT_DOUBLE_EQ(DefaultAirTemperature, 20.0);
    EXPECT_EQ(LengthUnit, 0);
    EXPECT_EQ(StartPoint, 0.0);
    EXPECT_EQ(s.PositioningDir, "brak");
    EXPECT_TRUE(s.FlatnessDir.isEmpty());

    TSettings t = s;
    const QString prog = dir.filePath("prog") + "/";
    SetDefaultDirectories(t, prog);
    EXPECT_EQ(t.PositioningDir, prog + "Pozycjonowanie/");
    EXPECT_EQ(t.FlatnessDir, prog + "Mapa Plaskosci/");
    EXPECT_EQ(t.PointListDir, prog + "Punkty pozycjonowania/");
    EXPECT_EQ(t.VelocityDir, prog + "Predkosc/");
    EXPECT_EQ(t.StraightnessDir, prog + "Prostoliniowosc/");
    EXPECT_EQ(t.AngularDir, prog + "Podzialy Katowe/");
    EXPECT_EQ(t.FftDir, prog + "FFT/");
    EXPECT_TRUE(QDir(t.FftDir).exists());

    // A stored positioning folder leaves the rest as stored, empty ones included.
    TSettings u;
    u.PositioningDir = "/data/poz/";
    SetDefaultDirectories(u, prog);
    EXPECT_EQ(u.PositioningDir, "/data/poz/");
    EXPECT_TRUE(u.FftDir.isEmpty());

    // A program folder where nothing can be made (here: beneath a plain file, which holds for
    // root as well) sends the data folders to the user's data folder.
    QFile blocker(dir.filePath("plain"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TSettings v = s;
    const QString user = dir.filePath("home/.local/share/VKM30");
    SetDefaultDirectories(v, dir.filePath("plain/prog/"), user);
    EXPECT_EQ(v.PositioningDir, user + "/Pozycjonowanie/");
    EXPECT_EQ(v.FftDir, user + "/FFT/");
    EXPECT_TRUE(QDir(v.AngularDir).exists());
}

TEST_F(SettingsTest, EverySettingSurvivesWriteAndFreshRead) {
    TSettings w;
    w.PointDistance = 11; w.Vibration = 12; w.PointNumber = 30; w.ErrorWindow = 900;
    w.VibrationPK = 13; w.PointNumberPK = 31; w.ErrorWindowPK = 800;
    w.HeadOnOffThreshold = 33; w.MaxErrorThreshold = 77;
    w.TransmissionIndex = 0; w.ComPortIndex = 9; w.SignalGaugeMax = 200; w.SignalGaugeMin = 50;
    w.MeteoAveragingIndex = 1; w.BigErrorWarning = true; w.AverageChangeLimit = 45;
    w.MoveDetectThreshold = 150; w.BaudRateIndex = 11; w.SystemXY = true;
    w.PositioningDir = "/p/"; w.FlatnessDir = "/f/"; w.PointListDir = "/l/"; w.VelocityDir = "/v/";
    w.StraightnessDir = "/s/"; w.AngularDir = "/a/"; w.FftDir = "/x/";
    w.Automatic = false; w.AutoAcceptTime = 120; w.HandControl = true; w.HandControlPK = true;
    w.StopAfterCycle = false; w.TargetValueCorrection = true; w.UniDirectional = true;
    w.PointsFromList = true; w.CycleCount = 7; w.PositioningMethod = 2; w.BaseLength = 123.4565;
    w.ShowMeanForward = false; w.ShowMeanBackward = false; w.ShowMeanBoth = false;
    w.ShowSigmaForward = false; w.ShowSigmaBackward = false; w.ShowSigmaBoth = false;
    w.ShowMeasForward = false; w.ShowMeasBackward = false; w.ShowBacklash = false; w.AllCycles = false;
    w.ShowTargetValue = false; w.ShowTotalAngle = false; w.ShowErrorTable = false; w.ShowErrorTablePK = false;
    w.PointsOrDistance = true; w.PointsOrAngle = true; w.NormIndex = 5; w.MachineName = "Frezarka ŻÓŁW";
    w.StraightnessMethod = 2; w.StatisticsMethod = 1; w.StraightnessPointCount = 150; w.FlatnessMethod = 1;
    w.FlatnessHLines = 8; w.FlatnessVLines = 4; w.RotationDirection = 1; w.VelocityChartUnit = 5;
    w.PosAndStr = true; w.FftSignalIndex = 2; w.FftOutputIndex = 3; w.FftLogScale = true; w.FftDcComponent = true;
    w.HumidityFromSensor = false; w.PressureFromSensor = false; w.AirTempFromSensor = false;
    w.MaterialTempFromSensor = false; w.ManualHumidity = 85; w.TemperatureUnit = 1; w.PressureUnit = 2;
    w.HeaderOperator = "Jan Kowalski"; w.HeaderCompany = "Brantova"; w.HeaderFeed = "1000";
    w.ReportNumber = "17/2024"; w.CompTableBasePoint = -250; w.CompTableSystem = 1; w.CompTableAxis = 7;
    w.CompTableFormat = 4;
    SystemNumber = "40001";
    ReferenceTemperature = 20.5; DefaultPressure = 998.7; DefaultAirTemperature = 21.25;
    DefaultMaterialTemperature = 19.75; LengthUnit = 1;
    StartPoint = -12.5; StartPointPK = 0.125; StartPointDisp = 1e-3;
    {
        platform::Registry r(path);
        WriteSettings(r, w);
    }
    ResetSharedGlobals();
    const TSettings s = read();
    EXPECT_EQ(s.PointDistance, 11); EXPECT_EQ(s.Vibration, 12); EXPECT_EQ(s.PointNumber, 30);
    EXPECT_EQ(s.ErrorWindow, 900); EXPECT_EQ(s.VibrationPK, 13); EXPECT_EQ(s.PointNumberPK, 31);
    EXPECT_EQ(s.ErrorWindowPK, 800); EXPECT_EQ(s.HeadOnOffThreshold, 33); EXPECT_EQ(s.MaxErrorThreshold, 77);
    EXPECT_EQ(s.TransmissionIndex, 0); EXPECT_EQ(InterfaceMode.load(), 0); EXPECT_EQ(s.ComPortIndex, 9);
    EXPECT_EQ(s.SignalGaugeMax, 200); EXPECT_EQ(s.SignalGaugeMin, 50); EXPECT_EQ(s.MeteoAveragingIndex, 1);
    EXPECT_TRUE(s.BigErrorWarning); EXPECT_EQ(s.AverageChangeLimit, 45); EXPECT_EQ(s.MoveDetectThreshold, 150);
    EXPECT_EQ(s.BaudRateIndex, 11); EXPECT_EQ(s.AltBaudRateIndex, 6); EXPECT_TRUE(s.SystemXY);
    EXPECT_EQ(s.PositioningDir, "/p/"); EXPECT_EQ(s.FlatnessDir, "/f/"); EXPECT_EQ(s.PointListDir, "/l/");
    EXPECT_EQ(s.VelocityDir, "/v/"); EXPECT_EQ(s.StraightnessDir, "/s/"); EXPECT_EQ(s.AngularDir, "/a/");
    EXPECT_EQ(s.FftDir, "/x/");
    EXPECT_FALSE(s.Automatic); EXPECT_EQ(s.AutoAcceptTime, 120); EXPECT_TRUE(s.HandControl);
    EXPECT_TRUE(s.HandControlPK); EXPECT_FALSE(s.StopAfterCycle); EXPECT_TRUE(s.TargetValueCorrection);
    EXPECT_TRUE(s.UniDirectional); EXPECT_TRUE(s.PointsFromList); EXPECT_EQ(s.CycleCount, 7);
    EXPECT_EQ(s.PositioningMethod, 2);
    EXPECT_DOUBLE_EQ(s.BaseLength, 123.456);  // kept in whole micrometres, ties to even
    EXPECT_FALSE(s.ShowMeanForward); EXPECT_FALSE(s.ShowMeanBackward); EXPECT_FALSE(s.ShowMeanBoth);
    EXPECT_FALSE(s.ShowSigmaForward); EXPECT_FALSE(s.ShowSigmaBackward); EXPECT_FALSE(s.ShowSigmaBoth);
    EXPECT_FALSE(s.ShowMeasForward); EXPECT_FALSE(s.ShowMeasBackward); EXPECT_FALSE(s.ShowBacklash);
    EXPECT_FALSE(s.AllCycles); EXPECT_FALSE(s.ShowTargetValue); EXPECT_FALSE(s.ShowTotalAngle);
    EXPECT_FALSE(s.ShowErrorTable); EXPECT_FALSE(s.ShowErrorTablePK);
    EXPECT_TRUE(s.PointsOrDistance); EXPECT_TRUE(s.PointsOrAngle); EXPECT_EQ(s.NormIndex, 5);
    EXPECT_EQ(s.MachineName, "Frezarka ŻÓŁW");
    EXPECT_EQ(s.StraightnessMethod, 2); EXPECT_EQ(s.StatisticsMethod, 1); EXPECT_EQ(s.StraightnessPointCount, 150);
    EXPECT_EQ(s.FlatnessMethod, 1); EXPECT_EQ(s.FlatnessHLines, 8); EXPECT_EQ(s.FlatnessVLines, 4);
    EXPECT_EQ(s.RotationDirection, 1); EXPECT_EQ(s.VelocityChartUnit, 5); EXPECT_TRUE(s.PosAndStr);
    EXPECT_EQ(s.FftSignalIndex, 2); EXPECT_EQ(s.FftOutputIndex, 3); EXPECT_TRUE(s.FftLogScale);
    EXPECT_TRUE(s.FftDcComponent);
    EXPECT_FALSE(s.HumidityFromSensor); EXPECT_FALSE(s.PressureFromSensor); EXPECT_FALSE(s.AirTempFromSensor);
    EXPECT_FALSE(s.MaterialTempFromSensor); EXPECT_EQ(s.ManualHumidity, 85); EXPECT_EQ(s.TemperatureUnit, 1);
    EXPECT_EQ(s.PressureUnit, 2);
    EXPECT_EQ(s.HeaderOperator, "Jan Kowalski"); EXPECT_EQ(s.HeaderCompany, "Brantova"); EXPECT_EQ(s.HeaderFeed, "1000");
    EXPECT_EQ(s.ReportNumber, "17/2024"); EXPECT_EQ(s.CompTableBasePoint, -250); EXPECT_EQ(s.CompTableSystem, 1);
    EXPECT_EQ(s.CompTableAxis, 7); EXPECT_EQ(s.CompTableFormat, 4);
    EXPECT_EQ(SystemNumber, "40001");
    EXPECT_DOUBLE_EQ(ReferenceTemperature, 20.5); EXPECT_DOUBLE_EQ(DefaultPressure, 998.7);
    EXPECT_DOUBLE_EQ(DefaultAirTemperature, 21.25); EXPECT_DOUBLE_EQ(DefaultMaterialTemperature, 19.75);
    EXPECT_EQ(LengthUnit, 1);
    EXPECT_EQ(StartPoint, -12.5); EXPECT_EQ(StartPointPK, 0.125); EXPECT_EQ(StartPointDisp, 1e-3);
}

TEST_F(SettingsTest, StoredTextsAsWritten) {
    TSettings w;
    w.BaseLength = 250.5;
    ReferenceTemperature = 20.125;  // 2012.5 -> 2012 (ties to even)
    StartPoint = 0.5;
    {
        platform::Registry r(path);
        WriteSettings(r, w);
    }
    platform::Registry r(path);
    const QString opt = QString(kSettingsKey) + "\\Options";
    EXPECT_EQ(r.readString(opt, "Length").value_or(""), "250500");
    EXPECT_EQ(r.readString(opt, "TemperaturaOdn").value_or(""), "2012");
    EXPECT_EQ(r.readString(opt, "Automatic").value_or(""), "1");
    EXPECT_EQ(r.readString(opt, "UniDir").value_or(""), "0");
    EXPECT_EQ(r.readString(QString(kSettingsKey) + "\\StartPoint", "Start Point").value_or(""), "0.5");
    // Names as the program has always written them, misspellings included.
    EXPECT_TRUE(r.valueExists(opt, "TagetValueKor"));
    EXPECT_TRUE(r.valueExists(opt, "PonitsFromList"));
    EXPECT_TRUE(r.valueExists(QString(kSettingsKey) + "\\Service Parameter", "Avarge change <"));
    EXPECT_TRUE(r.valueExists(QString(kSettingsKey) + "\\Service Parameter", "Transmision"));
    EXPECT_TRUE(r.valueExists(QString(kSettingsKey) + "\\Point Parameter", "Point distance >"));
    // The language choice lives in the same section whatever the letter case of its key.
    EXPECT_TRUE(r.valueExists("Software\\Brantova\\Vkm30\\Options", "length"));
}

TEST_F(SettingsTest, MalformedAndOutOfRangeValues) {
    put("Options", "UniDir", "0x10");         // hexadecimal: true
    put("Options", "StopAfterCycle", "true"); // no integer: default (true)
    put("Options", "PosAndStr", "true");      // no integer: default (false)
    put("Options", "CycleNumber", "abc");
    put("Options", "HANumber", "12");
    put("Options", "VANumber", "1");
    put("Options", "Length", "0X186A0");      // 100000
    put("Options", "Norm", "9");              // no such standard: default
    put("Options", "StrPointNumber", "-4");
    put("Point Parameter", "Point number", " 50 ");
    put("Point Parameter", "Head On/Off", "500");
    put("Service Parameter", "Max level", "999");
    put("Service Parameter", "Com Port", "-1");
    put("StartPoint", "Start Point", "1,25");
    put("StartPoint", "Start PointPK", "zero");
    put("StartPoint", "Start PointDisp", "-3.5");
    StartPointPK = 7.0;
    const TSettings s = read();
    EXPECT_TRUE(s.UniDirectional);
    EXPECT_TRUE(s.StopAfterCycle);
    EXPECT_FALSE(s.PosAndStr);
    EXPECT_EQ(s.CycleCount, 2);
    EXPECT_EQ(s.FlatnessHLines, 8);
    EXPECT_EQ(s.FlatnessVLines, 3);
    EXPECT_DOUBLE_EQ(s.BaseLength, 100.0);
    EXPECT_EQ(s.NormIndex, 0);
    EXPECT_EQ(s.StraightnessPointCount, 3);
    EXPECT_EQ(s.PointNumber, 50);
    EXPECT_EQ(s.HeadOnOffThreshold, 40);
    EXPECT_EQ(s.SignalGaugeMax, 255);
    EXPECT_EQ(s.ComPortIndex, 0);
    EXPECT_DOUBLE_EQ(StartPoint, 1.25);
    EXPECT_EQ(StartPointPK, 0.0);
    EXPECT_DOUBLE_EQ(StartPointDisp, -3.5);
}

TEST_F(SettingsTest, NumbersOutsideTheirControlsAreClampedAndListed) {
    struct Case {
        const char* section;
        const char* name;
        const char* stored;
        const char* taken;
    };
    // Each control's range, or for a list index the default.
    const Case cases[] = {
        {"Point Parameter", "Point distance >", "5", "10"},
        {"Point Parameter", "Vibration", "201", "200"},
        {"Point Parameter", "Point number", "2147483647", "500"},
        {"Point Parameter", "Error Window", "0", "100"},
        {"Point Parameter", "VibrationPK", "-1", "1"},
        {"Point Parameter", "Point numberPK", "-2147483648", "2"},
        {"Point Parameter", "Error WindowPK", "3601", "3600"},
        {"Service Parameter", "Min level", "200", "125"},
        {"Service Parameter", "Transmision", "2", "1"},
        {"Options", "TimeAuto", "9", "10"},
        {"Options", "Length", "-5", "1"},
        {"Options", "FFTCzas", "-1", "0"},
        {"Options", "FFTOut", "4", "0"},
        {"Options", "TempUnit", "1", nullptr},  // in range: °F widens the temperatures below
        {"Options", "TemperaturaOdn", "-3000", "-2722"},
        {"Options", "DefCisn", "0x7fffffff", "10600"},
        {"Options", "DefTempAir", "4001", "4000"},
    };
    for (const Case& c : cases) put(c.section, c.name, c.stored);
    platform::Registry r(path);
    TSettings s;
    const SettingsCorrections got = ReadSettings(r, s);
    std::vector<std::array<QString, 3>> expected, listed;
    for (const Case& c : cases)
        if (c.taken) expected.push_back({c.name, c.stored, c.taken});
    for (const SettingsCorrection& g : got) listed.push_back({g.name, g.stored, g.taken});
    std::sort(expected.begin(), expected.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(s.PointNumber, 500);
    EXPECT_EQ(s.PointNumberPK, 2);
    EXPECT_EQ(s.SignalGaugeMin, 125);
    EXPECT_EQ(s.FftSignalIndex, 0);
    EXPECT_DOUBLE_EQ(s.BaseLength, 0.001);
    EXPECT_DOUBLE_EQ(ReferenceTemperature, -27.22);
    EXPECT_DOUBLE_EQ(DefaultPressure, 1060.0);

    // What the dialogs can store reads back without a word.
    TSettings defaults;
    platform::Registry clean(dir.filePath("clean.ini"));
    EXPECT_TRUE(ReadSettings(clean, defaults).empty());  // nothing stored: the defaults
    WriteSettings(clean, defaults);
    for (const SettingsCorrection& c : ReadSettings(clean, defaults)) ADD_FAILURE() << c.name.toStdString() << " " << c.stored.toStdString();
    EXPECT_EQ(SettingsCorrectionsMessage({}), QString());
}

TEST_F(SettingsTest, FoldersThatCannotExistTakeTheirDefault) {
    ASSERT_TRUE(QFile(dir.filePath("file")).open(QIODevice::WriteOnly));
    struct Case {
        QString folder;
        bool cannotExist;
    };
    const Case cases[] = {
        {QString(), false},                                     // the current folder
        {dir.path(), false},
        {dir.filePath("not/yet/made/"), false},                 // an unplugged drive
        {dir.filePath("file"), true},
        {dir.filePath("file/Pozycjonowanie/"), true},
        {dir.filePath(QString(256, 'x')), true},                // longer than a name can be
        {dir.filePath("a") + QChar(0) + "b", true},
    };
    for (const Case& c : cases) EXPECT_EQ(FolderCannotExist(c.folder), c.cannotExist) << c.folder.toStdString();

    const QString program = dir.filePath("program/");
    TSettings s;
    s.PositioningDir = dir.filePath("file/Pozycjonowanie/");
    s.FftDir = dir.filePath("not/yet/made/");
    s.VelocityDir = dir.filePath("file");
    const SettingsCorrections got = SetDefaultDirectories(s, program, dir.filePath("user/"));
    EXPECT_EQ(s.PositioningDir, program + "Pozycjonowanie/");
    EXPECT_EQ(s.VelocityDir, program + "Predkosc/");
    EXPECT_TRUE(QFileInfo(s.PositioningDir).isDir());
    EXPECT_EQ(s.FftDir, dir.filePath("not/yet/made/"));
    EXPECT_EQ(s.FlatnessDir, QString());
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].name, "Poz Dir");
    EXPECT_EQ(got[0].stored, dir.filePath("file/Pozycjonowanie/"));
    EXPECT_EQ(got[0].taken, program + "Pozycjonowanie/");
    EXPECT_EQ(got[1].name, "Vel Dir");
    EXPECT_EQ(SettingsCorrectionsMessage(got),
              QString::fromUtf8("Zapisane ustawienia poza zakresem zostały zastąpione:\n\"Poz Dir\": %1 → %2\n"
                                "\"Vel Dir\": %3 → %4")
                  .arg(got[0].stored, got[0].taken, got[1].stored, got[1].taken));
}

TEST(SettingsConversion, IntegerAndRealTexts) {
    struct { const char* text; int32_t expected; } ints[] = {
        {"42", 42}, {"-7", -7}, {"0x1F", 31}, {"0XfF", 255}, {"0x", -99}, {"abc", -99}, {"", -99},
        {"1.5", -99}, {"99999999999", -99}, {"0xFFFFFFFF", -1}, {"true", -99},
    };
    for (const auto& c : ints) EXPECT_EQ(SettingsTextToInt(c.text, -99), c.expected) << c.text;
    EXPECT_DOUBLE_EQ(SettingsTextToReal("3,75"), 3.75);
    EXPECT_DOUBLE_EQ(SettingsTextToReal("-0.5"), -0.5);
    EXPECT_EQ(SettingsTextToReal("1.2.3"), 0.0);
    EXPECT_EQ(SettingsTextToReal("nan"), 0.0);
    EXPECT_EQ(SettingsRealToText(-1.5), "-1.5");
    EXPECT_EQ(SettingsRealToText(0.1), "0.1");
}

TEST_F(SettingsTest, BinaryDoublesInTheMainKey) {
    {
        platform::Registry r(path);
        WriteBinaryDouble(r, "FPDist", 12.75);
    }
    platform::Registry r(path);
    EXPECT_EQ(ReadBinaryDouble(r, "FPDist", 0.0), 12.75);
    EXPECT_EQ(ReadBinaryDouble(r, "FPInt", 5.0), 5.0);  // missing
    const auto raw = r.readBinary(kSettingsKey, "fpdist");
    ASSERT_TRUE(raw.has_value());
    EXPECT_EQ(raw->toHex(), QByteArray("0000000000802940"));
    r.writeBinary(kSettingsKey, "FPInt", QByteArray(3, 'x'));  // wrong size
    EXPECT_EQ(ReadBinaryDouble(r, "FPInt", 5.0), 5.0);
}

TEST_F(SettingsTest, RecentFilesStoredAndMoved) {
    TSettings w;
    w.RecentPositioning.SetEntries({"/a.dt2", "/b.dt2", "/c.dt2", ""});
    w.RecentFft.Add("/z.dt7");
    {
        platform::Registry r(path);
        SaveRecentFiles(r, w);
        EXPECT_EQ(r.readString(QString(kSettingsKey) + "\\Files", "FilePoz_2").value_or(""), "/c.dt2");
        EXPECT_EQ(r.readString(QString(kSettingsKey) + "\\Files", "FileFFT_0").value_or(""), "/z.dt7");
    }
    TSettings s;
    {
        platform::Registry r(path);
        LoadRecentFiles(r, s);
    }
    EXPECT_EQ(s.RecentPositioning.Entries(), (QStringList{"/a.dt2", "/b.dt2", "/c.dt2", ""}));
    EXPECT_EQ(s.RecentVelocity.Entries(), (QStringList{"", "", "", ""}));
    EXPECT_EQ(s.RecentFft.Entries(), (QStringList{"/z.dt7", "", "", ""}));

    // The third entry moves to the top; the list keeps four entries.
    s.RecentPositioning.Add("/c.dt2");
    EXPECT_EQ(s.RecentPositioning.Entries(), (QStringList{"/c.dt2", "/a.dt2", "/b.dt2", ""}));
    s.RecentPositioning.Add("/d.dt2");
    s.RecentPositioning.Add("/e.dt2");
    EXPECT_EQ(s.RecentPositioning.Entries(), (QStringList{"/e.dt2", "/d.dt2", "/c.dt2", "/a.dt2"}));
    s.RecentPositioning.Add("/E.dt2");  // names compare with letter case
    EXPECT_EQ(s.RecentPositioning.Entries(), (QStringList{"/E.dt2", "/e.dt2", "/d.dt2", "/c.dt2"}));
}

TEST(RecentFilesMenu, ShowsNonEmptyEntriesAndReportsTheChoice) {
    QMenu plik;
    plik.setObjectName("Plik1");
    plik.addAction("Otwórz")->setObjectName("Otworz1");
    TRecentFileList list;
    list.SetEntries({"/m/a b.dt2", "", "/m/c.dt2", ""});
    QString chosen;
    int calls = 0;
    auto cb = [&](const QString& f) { chosen = f; ++calls; };
    FillRecentFilesMenu(&plik, list, cb);
    FillRecentFilesMenu(&plik, list, cb);  // refilling neither duplicates commands nor calls
    ASSERT_EQ(plik.actions().size(), 5);
    QAction* cmds[4];
    for (int n = 0; n < 4; ++n) {
        cmds[n] = nullptr;
        for (QAction* a : plik.actions())
            if (a->objectName() == kRecentFileCommandNames[n]) cmds[n] = a;
        ASSERT_NE(cmds[n], nullptr);
    }
    EXPECT_TRUE(cmds[0]->isVisible());
    EXPECT_EQ(cmds[0]->text(), "&1 /m/a b.dt2");
    EXPECT_FALSE(cmds[1]->isVisible());
    EXPECT_EQ(cmds[2]->text(), "&3 /m/c.dt2");
    EXPECT_FALSE(cmds[3]->isVisible());
    cmds[2]->trigger();
    EXPECT_EQ(chosen, "/m/c.dt2");
    EXPECT_EQ(calls, 1);
}

}  // namespace

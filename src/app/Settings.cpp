#include "app/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QLocale>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "foundations/SharedGlobals.h"
#include "platform/Registry.h"

namespace {

QString section(const char* name) { return QString(kSettingsKey) + '\\' + QLatin1String(name); }

// One open section of the store, with the typed reads and writes of the settings.
class Section {
public:
    Section(platform::Registry& r, const char* name) : reg_(r), key_(section(name)) {}

    int32_t readInt(const char* name, int32_t def) const {
        const auto s = reg_.readString(key_, QString::fromUtf8(name));
        return s ? SettingsTextToInt(*s, def) : def;
    }
    // Values shown by a control with a fixed range are brought into it.
    int32_t readClamped(const char* name, int32_t def, int32_t lo, int32_t hi) const {
        return std::clamp(readInt(name, def), lo, hi);
    }
    // An index out of its list's range means nothing: the default is taken.
    int32_t readIndex(const char* name, int32_t def, int32_t count) const {
        const int32_t v = readInt(name, def);
        return v >= 0 && v < count ? v : def;
    }
    bool readBool(const char* name, bool def) const { return readInt(name, def ? 1 : 0) != 0; }
    QString readString(const char* name, const QString& def) const {
        const auto s = reg_.readString(key_, QString::fromUtf8(name));
        return s ? *s : def;
    }
    double readReal(const char* name, const QString& def) const { return SettingsTextToReal(readString(name, def)); }

    void writeInt(const char* name, int32_t v) { reg_.writeInteger(key_, QString::fromUtf8(name), v); }
    void writeBool(const char* name, bool v) { writeInt(name, v ? 1 : 0); }
    void writeString(const char* name, const QString& v) { reg_.writeString(key_, QString::fromUtf8(name), v); }
    void writeReal(const char* name, double v) { writeString(name, SettingsRealToText(v)); }

private:
    platform::Registry& reg_;
    QString key_;
};

// Nearest integer (ties to even) of a scaled value, kept inside 32 bits.
int32_t scaledToInt(double v, double factor) {
    const double x = std::nearbyint(v * factor);
    if (!std::isfinite(x)) return 0;
    return static_cast<int32_t>(std::clamp(x, -2147483648.0, 2147483647.0));
}

uint8_t toByte(int32_t v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

struct FolderDefault {
    QString TSettings::*field;
    const char* folder;
};
const FolderDefault kFolders[] = {
    {&TSettings::PositioningDir, "Pozycjonowanie"}, {&TSettings::FlatnessDir, "Mapa Plaskosci"},
    {&TSettings::PointListDir, "Punkty pozycjonowania"}, {&TSettings::VelocityDir, "Predkosc"},
    {&TSettings::StraightnessDir, "Prostoliniowosc"}, {&TSettings::AngularDir, "Podzialy Katowe"},
    {&TSettings::FftDir, "FFT"},
};

struct RecentDef {
    TRecentFileList TSettings::*list;
    const char* prefix;
};
const RecentDef kRecent[] = {
    {&TSettings::RecentPositioning, "FilePoz_"}, {&TSettings::RecentStraightness, "FileProst_"},
    {&TSettings::RecentVelocity, "FilePred_"},   {&TSettings::RecentFlatness, "FileMapa_"},
    {&TSettings::RecentAngular, "FilePodzKat_"}, {&TSettings::RecentFft, "FileFFT_"},
};

}  // namespace

int32_t SettingsTextToInt(const QString& text, int32_t defaultValue) {
    const QString t = text.trimmed();
    bool ok = false;
    if (t.startsWith("0x", Qt::CaseInsensitive)) {
        const QString digits = t.mid(2);
        if (digits.isEmpty() || digits.size() > 8) return defaultValue;
        const uint v = digits.toUInt(&ok, 16);
        return ok ? static_cast<int32_t>(v) : defaultValue;
    }
    const int v = t.toInt(&ok, 10);
    return ok ? v : defaultValue;
}

double SettingsTextToReal(const QString& text) {
    QString t = text.trimmed();
    t.replace(',', '.');
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

QString SettingsRealToText(double value) {
    if (!std::isfinite(value)) value = 0.0;
    return QLocale::c().toString(value, 'g', QLocale::FloatingPointShortest);
}

void ReadSettings(platform::Registry& reg, TSettings& s) {
    {
        Section p(reg, "Point Parameter");
        s.PointDistance = p.readInt("Point distance >", 10);
        s.Vibration = p.readInt("Vibration", 10);
        s.PointNumber = p.readInt("Point number", 25);
        s.ErrorWindow = p.readInt("Error Window", 1000);
        s.VibrationPK = p.readInt("VibrationPK", 10);
        s.PointNumberPK = p.readInt("Point numberPK", 25);
        s.ErrorWindowPK = p.readInt("Error WindowPK", 1000);
        s.HeadOnOffThreshold = p.readClamped("Head On/Off", 20, 1, 40);
        s.MaxErrorThreshold = p.readClamped("Max Error", 50, 40, 100);
    }
    {
        Section p(reg, "Service Parameter");
        SystemNumber = p.readString("Nr sys", "30122");
        s.TransmissionIndex = p.readIndex("Transmision", 1, 2);
        InterfaceMode = static_cast<uint8_t>(s.TransmissionIndex);
        s.ComPortIndex = p.readIndex("Com Port", 0, 10);
        s.SignalGaugeMax = toByte(p.readInt("Max level", 175));
        s.SignalGaugeMin = toByte(p.readInt("Min level", 100));
        s.MeteoAveragingIndex = p.readIndex("Avarge meteo", 0, 2);
        s.BigErrorWarning = p.readBool("Big error warning", false);
        s.AverageChangeLimit = p.readClamped("Avarge change <", 20, 0, 50);
        s.MoveDetectThreshold = p.readClamped("Move detect", 40, 10, 200);
        // Speed ordinals 0 (110 b/s) to 12 (115200 b/s).
        s.BaudRateIndex = static_cast<uint8_t>(p.readIndex("BaudRate", 6, 13));
        s.AltBaudRateIndex = s.BaudRateIndex == 6 ? 11 : 6;
        s.SystemXY = p.readBool("SystemXY", false);
    }
    {
        Section p(reg, "Directory");
        s.PositioningDir = p.readString("Poz Dir", "brak");
        s.FlatnessDir = p.readString("Str Map Dir", QString());
        s.PointListDir = p.readString("Poz point Dir", QString());
        s.VelocityDir = p.readString("Vel Dir", QString());
        s.StraightnessDir = p.readString("Str Dir", QString());
        s.AngularDir = p.readString("PozAn Dir", QString());
        s.FftDir = p.readString("FFT Dir", QString());
    }
    {
        Section p(reg, "Options");
        s.Automatic = p.readBool("Automatic", true);
        s.AutoAcceptTime = p.readClamped("TimeAuto", 70, 10, 150);
        s.HandControl = p.readBool("HandControl", false);
        s.HandControlPK = p.readBool("HandControlPK", false);
        s.StopAfterCycle = p.readBool("StopAfterCycle", true);
        s.TargetValueCorrection = p.readBool("TagetValueKor", false);
        s.UniDirectional = p.readBool("UniDir", false);
        s.PointsFromList = p.readBool("PonitsFromList", false);
        // Counts keep to what the configuration dialog can set.
        s.CycleCount = p.readClamped("CycleNumber", 2, 2, 10);
        s.PositioningMethod = static_cast<uint8_t>(p.readIndex("PozMetode", 0, 3));
        s.BaseLength = p.readInt("Length", 100000) * 0.001;

        s.ShowMeanForward = p.readBool("SredniaPrzod", true);
        s.ShowMeanBackward = p.readBool("SredniaTyl", true);
        s.ShowMeanBoth = p.readBool("SredniaDwu", true);
        s.ShowSigmaForward = p.readBool("SigmaPrzod", true);
        s.ShowSigmaBackward = p.readBool("SigmaTyl", true);
        s.ShowSigmaBoth = p.readBool("SigmaDwu", true);
        s.ShowMeasForward = p.readBool("PomPrzod", true);
        s.ShowMeasBackward = p.readBool("PomTyl", true);
        s.ShowBacklash = p.readBool("Luz", true);
        s.AllCycles = p.readBool("AllCycle", true);
        s.ShowTargetValue = p.readBool("VarSet", true);
        s.ShowTotalAngle = p.readBool("VarSetPK", true);
        s.ShowErrorTable = p.readBool("ErrorTab", true);
        s.ShowErrorTablePK = p.readBool("ErrorTabPK", true);
        s.PointsOrDistance = p.readBool("PointsOrDistance", false);
        s.PointsOrAngle = p.readBool("PointsOrAngle", false);
        s.NormIndex = p.readIndex("Norm", 0, 6);
        s.MachineName = p.readString("Machine_Name", QString());

        s.StraightnessMethod = static_cast<uint8_t>(p.readIndex("StrMetode", 0, 3));
        s.StatisticsMethod = static_cast<uint8_t>(p.readIndex("StatMetode", 0, 3));
        s.StraightnessPointCount = p.readClamped("StrPointNumber", 5, 3, 200);
        s.FlatnessMethod = static_cast<uint8_t>(p.readIndex("FlatnessMetode", 0, 2));
        s.FlatnessHLines = p.readClamped("HANumber", 3, 3, 8);
        s.FlatnessVLines = p.readClamped("VANumber", 3, 3, 8);
        s.RotationDirection = static_cast<uint8_t>(p.readIndex("RotDir", 0, 2));
        s.VelocityChartUnit = static_cast<uint8_t>(p.readIndex("VelChartUnit", 0, 6));
        s.PosAndStr = p.readBool("PosAndStr", false);
        s.FftSignalIndex = p.readIndex("FFTCzas", 0, 3);
        s.FftOutputIndex = p.readIndex("FFTOut", 0, 4);
        s.FftLogScale = p.readBool("FFTLog", false);
        s.FftDcComponent = p.readBool("FFTSkSt", false);

        s.HumidityFromSensor = p.readBool("CBWilg", true);
        s.PressureFromSensor = p.readBool("CBCis", true);
        s.AirTempFromSensor = p.readBool("CBTemp", true);
        s.MaterialTempFromSensor = p.readBool("CBTMat", true);
        s.ManualHumidity = p.readClamped("SEWilg", 50, 10, 90);
        ReferenceTemperature = p.readInt("TemperaturaOdn", 2000) * 0.01;
        DefaultPressure = p.readInt("DefCisn", 10130) * 0.1;
        DefaultAirTemperature = p.readInt("DefTempAir", 2000) * 0.01;
        DefaultMaterialTemperature = p.readInt("DefTempMat", 2000) * 0.01;
        s.TemperatureUnit = static_cast<uint8_t>(p.readIndex("TempUnit", 0, 2));
        s.PressureUnit = static_cast<uint8_t>(p.readIndex("PresUnit", 0, 3));
        LengthUnit = p.readIndex("Jednostka", 0, 2);
        s.HeaderOperator = p.readString("Operator", QString()).left(20);
        s.HeaderCompany = p.readString("Firm", QString()).left(20);
        s.HeaderFeed = p.readString("FeedRate", QString()).left(9);
        s.ReportNumber = p.readString("RapNo", "01");
        s.CompTableBasePoint = p.readInt("BasePoint", 0);
        s.CompTableSystem = static_cast<uint8_t>(p.readIndex("CTSys", 0, 2));
        s.CompTableAxis = static_cast<uint8_t>(p.readIndex("CTAxis", 0, 8));
        s.CompTableFormat = static_cast<uint8_t>(p.readIndex("CTFormat", 0, 6));
    }
    {
        Section p(reg, "StartPoint");
        StartPoint = p.readReal("Start Point", "0");
        StartPointPK = p.readReal("Start PointPK", "0");
        StartPointDisp = p.readReal("Start PointDisp", "0");
    }
}

void WriteSettings(platform::Registry& reg, const TSettings& s) {
    {
        Section p(reg, "Point Parameter");
        p.writeInt("Point distance >", s.PointDistance);
        p.writeInt("Vibration", s.Vibration);
        p.writeInt("Point number", s.PointNumber);
        p.writeInt("Error Window", s.ErrorWindow);
        p.writeInt("VibrationPK", s.VibrationPK);
        p.writeInt("Point numberPK", s.PointNumberPK);
        p.writeInt("Error WindowPK", s.ErrorWindowPK);
        p.writeInt("Head On/Off", s.HeadOnOffThreshold);
        p.writeInt("Max Error", s.MaxErrorThreshold);
    }
    {
        Section p(reg, "Service Parameter");
        p.writeString("Nr sys", SystemNumber);
        p.writeInt("Transmision", s.TransmissionIndex);
        p.writeInt("Com Port", s.ComPortIndex);
        p.writeInt("Max level", s.SignalGaugeMax);
        p.writeInt("Min level", s.SignalGaugeMin);
        p.writeInt("Avarge meteo", s.MeteoAveragingIndex);
        p.writeBool("Big error warning", s.BigErrorWarning);
        p.writeInt("Avarge change <", s.AverageChangeLimit);
        p.writeInt("Move detect", s.MoveDetectThreshold);
        p.writeInt("BaudRate", s.BaudRateIndex);
        p.writeBool("SystemXY", s.SystemXY);
    }
    {
        Section p(reg, "Directory");
        p.writeString("Poz Dir", s.PositioningDir);
        p.writeString("Str Map Dir", s.FlatnessDir);
        p.writeString("Poz point Dir", s.PointListDir);
        p.writeString("Vel Dir", s.VelocityDir);
        p.writeString("Str Dir", s.StraightnessDir);
        p.writeString("PozAn Dir", s.AngularDir);
        p.writeString("FFT Dir", s.FftDir);
    }
    {
        Section p(reg, "Options");
        p.writeBool("Automatic", s.Automatic);
        p.writeInt("TimeAuto", s.AutoAcceptTime);
        p.writeBool("HandControl", s.HandControl);
        p.writeBool("HandControlPK", s.HandControlPK);
        p.writeBool("StopAfterCycle", s.StopAfterCycle);
        p.writeBool("TagetValueKor", s.TargetValueCorrection);
        p.writeBool("UniDir", s.UniDirectional);
        p.writeBool("PonitsFromList", s.PointsFromList);
        p.writeInt("CycleNumber", s.CycleCount);
        p.writeInt("PozMetode", s.PositioningMethod);
        p.writeInt("Length", scaledToInt(s.BaseLength, 1000.0));

        p.writeBool("SredniaPrzod", s.ShowMeanForward);
        p.writeBool("SredniaTyl", s.ShowMeanBackward);
        p.writeBool("SredniaDwu", s.ShowMeanBoth);
        p.writeBool("SigmaPrzod", s.ShowSigmaForward);
        p.writeBool("SigmaTyl", s.ShowSigmaBackward);
        p.writeBool("SigmaDwu", s.ShowSigmaBoth);
        p.writeBool("PomPrzod", s.ShowMeasForward);
        p.writeBool("PomTyl", s.ShowMeasBackward);
        p.writeBool("Luz", s.ShowBacklash);
        p.writeBool("AllCycle", s.AllCycles);
        p.writeBool("VarSet", s.ShowTargetValue);
        p.writeBool("VarSetPK", s.ShowTotalAngle);
        p.writeBool("ErrorTab", s.ShowErrorTable);
        p.writeBool("ErrorTabPK", s.ShowErrorTablePK);
        p.writeBool("PointsOrDistance", s.PointsOrDistance);
        p.writeBool("PointsOrAngle", s.PointsOrAngle);
        p.writeInt("Norm", s.NormIndex);
        p.writeString("Machine_Name", s.MachineName);

        p.writeInt("StrMetode", s.StraightnessMethod);
        p.writeInt("StatMetode", s.StatisticsMethod);
        p.writeInt("StrPointNumber", s.StraightnessPointCount);
        p.writeInt("FlatnessMetode", s.FlatnessMethod);
        p.writeInt("HANumber", s.FlatnessHLines);
        p.writeInt("VANumber", s.FlatnessVLines);
        p.writeInt("RotDir", s.RotationDirection);
        p.writeInt("VelChartUnit", s.VelocityChartUnit);
        p.writeBool("PosAndStr", s.PosAndStr);
        p.writeInt("FFTCzas", s.FftSignalIndex);
        p.writeInt("FFTOut", s.FftOutputIndex);
        p.writeBool("FFTLog", s.FftLogScale);
        p.writeBool("FFTSkSt", s.FftDcComponent);

        p.writeBool("CBWilg", s.HumidityFromSensor);
        p.writeBool("CBCis", s.PressureFromSensor);
        p.writeBool("CBTemp", s.AirTempFromSensor);
        p.writeBool("CBTMat", s.MaterialTempFromSensor);
        p.writeInt("SEWilg", s.ManualHumidity);
        p.writeInt("TemperaturaOdn", scaledToInt(ReferenceTemperature, 100.0));
        p.writeInt("DefCisn", scaledToInt(DefaultPressure, 10.0));
        p.writeInt("DefTempAir", scaledToInt(DefaultAirTemperature, 100.0));
        p.writeInt("DefTempMat", scaledToInt(DefaultMaterialTemperature, 100.0));
        p.writeInt("TempUnit", s.TemperatureUnit);
        p.writeInt("PresUnit", s.PressureUnit);
        p.writeInt("Jednostka", LengthUnit);
        p.writeString("Operator", s.HeaderOperator);
        p.writeString("Firm", s.HeaderCompany);
        p.writeString("FeedRate", s.HeaderFeed);
        p.writeString("RapNo", s.ReportNumber);
        p.writeInt("BasePoint", s.CompTableBasePoint);
        p.writeInt("CTSys", s.CompTableSystem);
        p.writeInt("CTAxis", s.CompTableAxis);
        p.writeInt("CTFormat", s.CompTableFormat);
    }
    {
        Section p(reg, "StartPoint");
        p.writeReal("Start Point", StartPoint);
        p.writeReal("Start PointPK", StartPointPK);
        p.writeReal("Start PointDisp", StartPointDisp);
    }
    reg.sync();
}

QString DefaultUserDataDir() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/VKM30/");
}

void SetDefaultDirectories(TSettings& s, const QString& programDir) {
    SetDefaultDirectories(s, programDir, DefaultUserDataDir());
}

namespace {
QString withSeparator(QString dir) {
    if (!dir.isEmpty() && !dir.endsWith('/') && !dir.endsWith('\\')) dir += '/';
    return dir;
}
// Every data folder made (or already there) and writable under `base`.
bool makeFolders(const QString& base) {
    for (const FolderDefault& f : kFolders) {
        const QString dir = base + QString::fromUtf8(f.folder);
        if (!QDir().mkpath(dir) || !QFileInfo(dir).isWritable()) return false;
    }
    return true;
}
}  // namespace

void SetDefaultDirectories(TSettings& s, const QString& programDir, const QString& userDataDir) {
    if (s.PositioningDir != "brak") return;
    QString base = withSeparator(programDir);
    if (!makeFolders(base)) {
        const QString user = withSeparator(userDataDir);
        if (!user.isEmpty() && makeFolders(user)) base = user;
    }
    for (const FolderDefault& f : kFolders) s.*f.field = base + QString::fromUtf8(f.folder) + '/';
}

void LoadRecentFiles(platform::Registry& reg, TSettings& s) {
    Section p(reg, "Files");
    QStringList lists[std::size(kRecent)];
    for (int n = 0; n < TRecentFileList::kEntries; ++n)
        for (size_t k = 0; k < std::size(kRecent); ++k)
            lists[k].append(p.readString((QByteArray(kRecent[k].prefix) + QByteArray::number(n)).constData(), QString()));
    for (size_t k = 0; k < std::size(kRecent); ++k) (s.*kRecent[k].list).SetEntries(lists[k]);
}

void SaveRecentFiles(platform::Registry& reg, const TSettings& s) {
    Section p(reg, "Files");
    for (int n = 0; n < TRecentFileList::kEntries; ++n)
        for (const RecentDef& d : kRecent)
            p.writeString((QByteArray(d.prefix) + QByteArray::number(n)).constData(), (s.*d.list).Entry(n));
    reg.sync();
}

double ReadBinaryDouble(platform::Registry& reg, const QString& name, double defaultValue) {
    const auto b = reg.readBinary(kSettingsKey, name);
    if (!b || b->size() != 8) return defaultValue;
    return qFromLittleEndian<double>(b->constData());
}

void WriteBinaryDouble(platform::Registry& reg, const QString& name, double value) {
    QByteArray b(8, '\0');
    qToLittleEndian<double>(value, b.data());
    reg.writeBinary(kSettingsKey, name, b);
}

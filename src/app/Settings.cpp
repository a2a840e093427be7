#include "app/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QLocale>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <climits>
#include <cstring>
#include <QFile>

#include "foundations/FR_Utils.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "platform/Registry.h"

namespace {

QString section(const char* name) { return QString(kSettingsKey) + '\\' + QLatin1String(name); }

// One open section of the store, with the typed reads and writes of the settings.
class Section {
public:
    Section(platform::Registry& r, const char* name, SettingsCorrections* corrections = nullptr)
        : reg_(r), key_(section(name)), corrections_(corrections) {}

    int32_t readInt(const char* name, int32_t def) const {
        const auto s = reg_.readString(key_, QString::fromUtf8(name));
        return s ? SettingsTextToInt(*s, def) : def;
    }
    // Values shown by a control with a fixed range are brought into it.
    int32_t readClamped(const char* name, int32_t def, int32_t lo, int32_t hi) const {
        const int32_t v = readInt(name, def);
        const int32_t taken = std::clamp(v, lo, hi);
        if (taken != v) note(name, taken);
        return taken;
    }
    // An index out of its list's range means nothing: the default is taken.
    int32_t readIndex(const char* name, int32_t def, int32_t count) const {
        const int32_t v = readInt(name, def);
        if (v >= 0 && v < count) return v;
        note(name, def);
        return def;
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
    void note(const char* name, int32_t taken) const {
        if (!corrections_) return;
        const QString n = QString::fromUtf8(name);
        corrections_->push_back({n, reg_.readString(key_, n).value_or(QString()).trimmed(), QString::number(taken)});
    }
    platform::Registry& reg_;
    QString key_;
    SettingsCorrections* corrections_;
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
    const char* value;  // its name in "Directory"
};
const FolderDefault kFolders[] = {
    {&TSettings::PositioningDir, "Pozycjonowanie", "Poz Dir"},
    {&TSettings::FlatnessDir, "Mapa Plaskosci", "Str Map Dir"},
    {&TSettings::PointListDir, "Punkty pozycjonowania", "Poz point Dir"},
    {&TSettings::VelocityDir, "Predkosc", "Vel Dir"},
    {&TSettings::StraightnessDir, "Prostoliniowosc", "Str Dir"},
    {&TSettings::AngularDir, "Podzialy Katowe", "PozAn Dir"},
    {&TSettings::FftDir, "FFT", "FFT Dir"},
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

SettingsCorrections ReadSettings(platform::Registry& reg, TSettings& s) {
    SettingsCorrections out;
    {
        Section p(reg, "Point Parameter", &out);
        s.PointDistance = p.readClamped("Point distance >", 10, 10, 400);
        s.Vibration = p.readClamped("Vibration", 10, 1, 200);
        // The dialog shows stable samples as 0.1 to 20 s (nearest whole sample: 2 to 500).
        s.PointNumber = p.readClamped("Point number", 25, 2, 500);
        s.ErrorWindow = p.readClamped("Error Window", 1000, 100, 5000);
        s.VibrationPK = p.readClamped("VibrationPK", 10, 1, 100);
        s.PointNumberPK = p.readClamped("Point numberPK", 25, 2, 2500);  // 0.1 to 100 s
        s.ErrorWindowPK = p.readClamped("Error WindowPK", 1000, 1, 3600);
        s.HeadOnOffThreshold = p.readClamped("Head On/Off", 20, 1, 40);
        s.MaxErrorThreshold = p.readClamped("Max Error", 50, 40, 100);
    }
    {
        Section p(reg, "Service Parameter", &out);
        SystemNumber = p.readString("Nr sys", "30122");
        s.TransmissionIndex = p.readIndex("Transmision", 1, 2);
        InterfaceMode = static_cast<uint8_t>(s.TransmissionIndex);
        s.ComPortIndex = p.readIndex("Com Port", 0, 10);
        s.SignalGaugeMax = toByte(p.readClamped("Max level", 175, 0, 255));
        s.SignalGaugeMin = toByte(p.readClamped("Min level", 100, 0, 125));
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
        Section p(reg, "Options", &out);
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
        // Whole micrometres of a length above 0 and up to the base length dialog's 100 m.
        s.BaseLength = p.readClamped("Length", 100000, 1, 100000000) * 0.001;

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
        s.TemperatureUnit = static_cast<uint8_t>(p.readIndex("TempUnit", 0, 2));
        // Temperatures in hundredths of a °C within 0..40 °C, or -17..104 °F when shown in °F;
        // the pressure in tenths of a hPa within 900..1060 hPa.
        const int32_t lowestTemperature = s.TemperatureUnit == 1 ? -2722 : 0;
        ReferenceTemperature = p.readClamped("TemperaturaOdn", 2000, lowestTemperature, 4000) * 0.01;
        DefaultPressure = p.readClamped("DefCisn", 10130, 9000, 10600) * 0.1;
        DefaultAirTemperature = p.readClamped("DefTempAir", 2000, lowestTemperature, 4000) * 0.01;
        DefaultMaterialTemperature = p.readClamped("DefTempMat", 2000, lowestTemperature, 4000) * 0.01;
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
    return out;
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

SettingsCorrections SetDefaultDirectories(TSettings& s, const QString& programDir) {
    return SetDefaultDirectories(s, programDir, DefaultUserDataDir());
}

bool FolderCannotExist(const QString& dir) {
    if (dir.isEmpty()) return false;
    if (dir.contains(QChar(0))) return true;
    const QByteArray native = QFile::encodeName(dir);
    if (native.size() >= PATH_MAX) return true;
    for (const QByteArray& part : native.split('/'))
        if (part.size() > NAME_MAX) return true;
    // The nearest part of the path that is there must be a folder for the rest to be made in it.
    QString probe = QDir::cleanPath(QDir(dir).absolutePath());
    for (;;) {
        const QFileInfo info(probe);
        if (info.exists()) return !info.isDir();
        const QString parent = info.absolutePath();
        if (parent == probe) return false;
        probe = parent;
    }
}

QString SettingsCorrectionsMessage(const SettingsCorrections& corrections) {
    if (corrections.empty()) return QString();
    QString text = TranslateString(QStringLiteral("stUstawieniaPozaZakresem"),
                                   QString::fromUtf8("Zapisane ustawienia poza zakresem zostały zastąpione:"));
    for (const SettingsCorrection& c : corrections)
        text += QStringLiteral("\n\"") + c.name + QStringLiteral("\": ") + c.stored + QString::fromUtf8(" → ") + c.taken;
    return text;
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

SettingsCorrections SetDefaultDirectories(TSettings& s, const QString& programDir, const QString& userDataDir) {
    SettingsCorrections out;
    if (s.PositioningDir != "brak") {
        for (const FolderDefault& f : kFolders) {
            QString& dir = s.*f.field;
            if (!FolderCannotExist(dir)) continue;
            const QString folder = QString::fromUtf8(f.folder);
            QString taken = withSeparator(programDir) + folder;
            if (!QDir().mkpath(taken) || !QFileInfo(taken).isWritable()) {
                const QString user = withSeparator(userDataDir);
                if (!user.isEmpty() && QDir().mkpath(user + folder)) taken = user + folder;
            }
            taken += '/';
            out.push_back({QString::fromUtf8(f.value), dir, taken});
            dir = taken;
        }
        return out;
    }
    QString base = withSeparator(programDir);
    if (!makeFolders(base)) {
        const QString user = withSeparator(userDataDir);
        if (!user.isEmpty() && makeFolders(user)) base = user;
    }
    for (const FolderDefault& f : kFolders) s.*f.field = base + QString::fromUtf8(f.folder) + '/';
    return out;
}

void LoadRecentFiles(platform::Registry& reg, TSettings& s) {
    Section p(reg, "Files");
    QStringList lists[std::size(kRecent)];
    for (int n = 0; n < TRecentFileList::kEntries; ++n)
        for (size_t k = 0; k < std::size(kRecent); ++k)
            lists[k].append(p.readString((QByteArray(kRecent[k].prefix) + QByteArray::number(n)).constData(), QString()));
    for (size_t k = 0; k < std::size(kRecent); ++k) (s.*kRecent[k].list).SetEntries(lists[k]);
}

QString SaveRecentFiles(platform::Registry& reg, const TSettings& s) {
    Section p(reg, "Files");
    for (int n = 0; n < TRecentFileList::kEntries; ++n)
        for (const RecentDef& d : kRecent)
            p.writeString((QByteArray(d.prefix) + QByteArray::number(n)).constData(), (s.*d.list).Entry(n));
    return reg.sync();
}

QString SettingsNotSavedMessage(const QString& filePath, const QString& reason) {
    return FillPlaceholder(TranslateString(QStringLiteral("stUstawieniaNieZapisane"),
                                           QStringLiteral("Nie można zapisać ustawień w pliku %s; plik pozostał bez zmian.")),
                           QDir::toNativeSeparators(filePath)) +
           u'\n' + reason;
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

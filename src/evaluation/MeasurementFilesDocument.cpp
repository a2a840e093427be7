#include "evaluation/MeasurementFilesDocument.h"

#include <QFileInfo>

#include "foundations/SharedGlobals.h"

MeasurementDocument::MeasurementDocument(MeasurementData& data, Callbacks callbacks)
    : data_(data), cb_(std::move(callbacks)) {}

void MeasurementDocument::setAllSaved() {
    DataSaved = true;
    VelocityDataSaved = true;
    ExtraDataSaved = true;
    FlatnessDataSaved = true;
}

QString MeasurementDocument::typeDir(int mode) const {
    return HasMeasurementFile(mode) ? Dirs[size_t(mode)] : QString();
}

QString MeasurementDocument::captionFor(const QString& fileName) const {
    const QString base = HasMeasurementFile(Mode) ? ModeCaptions[size_t(Mode)] : QString();
    return fileName.isEmpty() ? base : base + QStringLiteral(" - ") + QFileInfo(fileName).fileName();
}

void MeasurementDocument::addRecent(int mode, const QString& fileName) {
    if (cb_.AddRecentFile) cb_.AddRecentFile(mode, fileName);
}

QString FilterWithExtension(QString filter, const QString& extension) {
    // Both places take the extension; nothing else in the text is treated as a format.
    for (int k = 0; k < 2; ++k) {
        const qsizetype at = filter.indexOf(QStringLiteral("%s"));
        if (at < 0) break;
        filter.replace(at, 2, extension);
    }
    return filter;
}

QString MeasurementDocument::DialogFilter() const {
    if (!HasMeasurementFile(Mode)) return QString();
    return FilterWithExtension(ModeFilters[size_t(Mode)], MeasurementFileExtension(Mode));
}

bool MeasurementDocument::ConfirmDiscard() {
    switch (cb_.AskSaveChanges ? cb_.AskSaveChanges() : 7) {
    case 2:
        return false;
    case 6:
        return SaveMeasurement(true);
    default:
        setAllSaved();
        return true;
    }
}

bool MeasurementDocument::OpenMeasurement() {
    if (!HasMeasurementFile(Mode) || !ConfirmDiscard()) return false;
    FileDialogSettings s;
    s.Filter = DialogFilter();
    s.FilterIndex = 1;
    s.InitialDir = typeDir(Mode);
    const std::optional<QString> chosen = cb_.OpenDialog ? cb_.OpenDialog(s) : std::nullopt;
    if (!chosen) return false;
    return LoadFile(*chosen);
}

bool MeasurementDocument::LoadFile(const QString& fileName) {
    if (const auto err = LoadMeasurementFile(data_, fileName, Mode)) {
        if (cb_.ShowError) cb_.ShowError(*err);
        Caption = captionFor(QString());
        if (cb_.FileLoaded) cb_.FileLoaded(fileName, false);
        return false;
    }
    if (Mode == mfPositioning) DataSaved = true;
    if (Mode == mfVelocity) VelocityDataSaved = true;
    addRecent(Mode, fileName);
    Caption = captionFor(fileName);
    if (cb_.FileLoaded) cb_.FileLoaded(fileName, true);
    return true;
}

bool MeasurementDocument::SaveMeasurement(bool AskHeader) {
    if (!HasMeasurementFile(Mode)) return false;
    for (;;) {
        if (AskHeader) {
            if (cb_.AskChangeMachineInfo && cb_.AskChangeMachineInfo() && cb_.EditHeader)
                cb_.EditHeader(data_.Header);
            saveSettings_.FileName = ProposedMeasurementFileName(data_.Header);
            saveSettings_.DefaultExt = MeasurementFileExtension(Mode);
            saveSettings_.Filter = DialogFilter();
            saveSettings_.FilterIndex = 1;
            saveSettings_.InitialDir = typeDir(Mode);
        }
        const std::optional<QString> chosen =
            cb_.SaveDialog ? cb_.SaveDialog(saveSettings_) : std::nullopt;
        if (!chosen) return false;  // not saved: the caller stays where it was
        QString name = *chosen;
        if (QFileInfo(name).suffix().isEmpty()) name += saveSettings_.DefaultExt;
        saveSettings_.FileName = name;
        try {
            SaveMeasurementBody(data_, name, Mode);
            switch (Mode) {
            case mfPositioning:
                DataSaved = true;
                if (PosAndStr) {
                    if (cb_.AverageXYCycles) cb_.AverageXYCycles();
                    const QString str = JoinDirFile(
                        Dirs[mfStraightness],
                        RemoveFileExt(QFileInfo(name).fileName()) + MeasurementFileExtension(mfStraightness));
                    SavePointSeriesFile(str, data_.Header, data_.StraightnessPoints);
                    addRecent(mfStraightness, str);
                }
                break;
            case mfVelocity: VelocityDataSaved = true; break;
            case mfFlatness: FlatnessDataSaved = true; break;
            default: DataSaved = true; break;
            }
            addRecent(Mode, name);
            Caption = captionFor(name);
            return true;
        } catch (const MeasurementFileError& e) {
            if (cb_.ShowError) cb_.ShowError(e.message());
            AskHeader = false;  // the dialog again, with its last settings
        }
    }
}

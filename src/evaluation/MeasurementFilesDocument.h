#pragma once
// The open and save commands of the main window as plain logic: the save-changes question,
// the file dialogs' settings, the error loop of saving, the saved flags and the caption. The
// main window supplies the questions and dialogs as callbacks and refreshes its views itself.
#include <QString>
#include <array>
#include <functional>
#include <optional>

#include "evaluation/MeasurementFiles.h"

struct FileDialogSettings {
    QString Filter;          // "text (*.dt2)|*.dt2|..." pairs, as the dialogs take them
    int FilterIndex = 1;
    QString FileName;
    QString DefaultExt;      // with its dot, ".dt2"
    QString InitialDir;
};

// A "text (*%s)|*%s|..." filter of ModeFilters with its first two "%s" replaced by the extension.
QString FilterWithExtension(QString filter, const QString& extension);

class MeasurementDocument {
public:
    struct Callbacks {
        std::function<int()> AskSaveChanges;                   // 2 Cancel, 6 Yes, 7 No
        std::function<bool()> AskChangeMachineInfo;            // "stZmianaInfo": true for Yes
        std::function<void(TMeasurementHeader&)> EditHeader;   // the machine data form
        // The dialogs: the chosen file, or nullopt when cancelled.
        std::function<std::optional<QString>(const FileDialogSettings&)> OpenDialog;
        std::function<std::optional<QString>(const FileDialogSettings&)> SaveDialog;
        std::function<void(const QString&)> ShowError;         // error box, OK
        std::function<void()> AverageXYCycles;                 // before the ".dt4" of PosAndStr
        std::function<void(int mode, const QString& fileName)> AddRecentFile;
        // After every load, read or failed (the failure already shown): the window takes the
        // type's data and refreshes its page.
        std::function<void(const QString& fileName, bool ok)> FileLoaded;
    };

    MeasurementDocument(MeasurementData& data, Callbacks callbacks);

    int Mode = 10;                     // TMainForm.MeasurementMode
    std::array<QString, 6> Dirs;       // data folders by type (positioning .. vibration)
    std::array<QString, 6> ModeFilters;   // each still holding two "%s" for the extension
    std::array<QString, 6> ModeCaptions;
    bool PosAndStr = false;
    QString Caption;                   // the main window's caption after the last command

    // The question before data are discarded: false when the caller must stay where it is
    // (Cancel, or Yes with a save that did not happen). No marks all data saved.
    bool ConfirmDiscard();
    // OpenMeasurement: true when a file was chosen and loaded.
    bool OpenMeasurement();
    // LoadMeasurementFile of the main window (recent files, command line): true on success;
    // on failure the error is shown and the caption is the mode caption alone.
    bool LoadFile(const QString& fileName);
    // SaveMeasurement: true when the data were written; false when the dialog was cancelled
    // (the data stay unsaved).
    bool SaveMeasurement(bool AskHeader);

    // The dialog settings the next save without the header question starts from.
    const FileDialogSettings& SaveDialogSettings() const { return saveSettings_; }
    QString DialogFilter() const;

private:
    void setAllSaved();
    QString captionFor(const QString& fileName) const;
    QString typeDir(int mode) const;
    void addRecent(int mode, const QString& fileName);

    MeasurementData& data_;
    Callbacks cb_;
    FileDialogSettings saveSettings_;
};

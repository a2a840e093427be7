#pragma once
// The spreadsheet beside the live readout: the desktop's default program for spreadsheets,
// found and started. Readings are not passed to it while it runs (the Windows program used a
// DDE conversation, which has no counterpart here); the window says so once.
#include <QString>
#include <QStringList>
#include <optional>

namespace spreadsheet {

struct Command {
    QString program;
    QStringList arguments;
};

// The command of a desktop entry's "Exec=" line in its [Desktop Entry] group, with the field
// codes (%f, %U, ...) removed and quoted arguments kept whole; nullopt without one.
std::optional<Command> DesktopEntryCommand(const QString& desktopEntryText);

// The default program for OpenDocument spreadsheets, else for ".xls" files, as xdg-mime names
// it; nullopt when neither has one or its entry cannot be read.
std::optional<Command> FindExcelPath();

// Starts the program without waiting for it; false when it could not be started.
bool StartProgram(const Command& command);

// The status-bar texts.
QString NoSpreadsheetText();
QString NoTransferText();

}  // namespace spreadsheet

#pragma once
// Program start: the splash form, the application's title and help file, and the main objects
// in their order. RunProgram is the whole entry; tests call StartProgram/EndProgram with a
// program folder and settings file of their own.
#include <QObject>
#include <QString>

class QApplication;
class TMainForm;
class TKomunikaty;
class TDataModule1;

namespace app {

struct StartedProgram {
    TDataModule1* dataModule = nullptr;  // the machine table
    TMainForm* mainForm = nullptr;
    TKomunikaty* komunikaty = nullptr;
};

inline constexpr const char* kApplicationTitle = "VKM30";
inline constexpr const char* kHelpFileName = "VKM30.HLP";

// The help file the program names (a file beside the program).
QString ApplicationHelpFile();

// Splash shown and painted; title and help file set; data module, main window and link status
// window created in this order; splash hidden and released. The main window is not shown.
StartedProgram StartProgram();
// Frees what StartProgram made, the main window first (its destruction writes the settings).
void EndProgram(StartedProgram& program);
// Shows the main window at a usable size.
void ShowMainWindow(TMainForm* form);

// The program entry: the single-instance guard, StartProgram, the message loop, EndProgram.
int RunProgram(int argc, char** argv);

}  // namespace app

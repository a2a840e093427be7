#pragma once
// Parts shared by the small dialogs: their buttons, and help for their "Pomoc" buttons (the
// help file at a context number). The help viewer comes with the main window's help commands;
// until one is set (or in tests, which set their own) the inspector is told that help is not
// available.
#include <QString>
#include <functional>
#include <initializer_list>

class QHBoxLayout;
class QPushButton;
class QWidget;

void ShowHelpContext(int context);
// Replaces the viewer; an empty function restores the "not available" message.
void setHelpContextHook(std::function<void(int)> hook);

// A push button with its component name.
QPushButton* NamedButton(QWidget* parent, const char* name, const QString& caption);
// The buttons in a row at the right, or in the middle.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons, bool centred = false);

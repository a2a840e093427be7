#pragma once
// Parts shared by the small dialogs: their buttons, and help for their "Pomoc" buttons
// (`ShowHelpContext`, the help window at a context's page).
#include <QString>
#include <initializer_list>

#include "app/HelpWindow.h"

class QHBoxLayout;
class QPushButton;
class QWidget;

// A push button with its component name.
QPushButton* NamedButton(QWidget* parent, const char* name, const QString& caption);
// The buttons in a row at the right, or in the middle.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons, bool centred = false);

#pragma once
// The link state line of the main menu page: what the inspector needs to know before starting
// a measurement (connected, no head, interface error), from the link's current state.
#include <QString>

namespace app {

struct LinkStateInput {
    bool cardLink = false;        // the measuring card; else the serial link
    bool startupRunning = false;  // the interface start-up is still trying
    bool portOpen = false;        // serial: the port is open
    bool interfaceError = false;  // no head answered / the card's program does not run
    int comNumber = 1;            // serial: COMn
    int baud = 9600;              // serial: bit/s
    // card: why its I/O ports could not be opened (empty when they could)
    QString cardPortsError;
};

QString LinkStateText(const LinkStateInput& in);
// The card's I/O ports could not be opened: the cause and what to do about it.
QString CardPortsMissingText(const QString& cause);
// Whether the line tells of a fault (shown in red).
bool LinkStateIsFault(const LinkStateInput& in);

}  // namespace app

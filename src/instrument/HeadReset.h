#pragma once
// Restarting the head over the serial link so that it sends its start-up text and then its
// load invitation: shared by the firmware loader and the port search.
#include "instrument/ComDrv32.h"

namespace instrument {

// Gets the frame parser ready for the start-up text, after which the next two bytes are taken as
// the load invitation (PendingReply 1; the parser then sets ComCheckEvent and ProbeAnswered).
// Reading and the signal monitor count as stopped; the reply state is set on the user-interface
// thread, which owns it. Called on a worker.
void ExpectStartupText();

// Resets the head with a pulse on DTR of pulseMs (slept on the link clock). With purge, both
// queues are emptied while DTR is up, so nothing from before the reset reaches the parser.
void PulseDtrReset(TCommPortDriver& comm, int pulseMs, bool purge = false);

}  // namespace instrument

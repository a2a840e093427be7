#pragma once
// One vibration acquisition on the head: the head stores samples while the reading runs (the
// first counter), then sends them back in FFT blocks (the second counter, set by the frame
// parser), and the acquisition ends with '}' and a restarted count stream, whether it completed,
// was cancelled or stalled. Plain code on the user-interface thread; TFPomiarFFT shows it.
#include <cstdint>

#include "instrument/CommandLink.h"

namespace instrument {

// What the acquisition acts on. The link calls default to the program's link; the window's part
// (its contents disabled during the acquisition, not the acquisition form that it parents) is
// the host's own.
class FftAcquisitionHost : public ICommandLink {
public:
    // The command and status layer's SendCommandByte.
    void SendCommandByte(uint8_t b) override;
    virtual void Sleep(int ms);               // the link's clock
    virtual void PurgeSerialInput();          // the port's input queue only, when there is a port
    virtual void SetMainWindowEnabled(bool) = 0;
    virtual void ShowConnectionError();       // "stConnectionError"
};

// The host over the program's link, for a form made without one: there is no window to disable.
FftAcquisitionHost& ProgramFftAcquisitionHost();

class FftAcquisition {
public:
    static constexpr int kStoredMax = 250;        // samples counted before the transfer starts
    static constexpr int kTransferredMax = 8191;  // index of the last sample sent back
    static constexpr int kStallTickMs = 500;      // no new sample within a tick: the link is lost

    explicit FftAcquisition(FftAcquisitionHost& host) : host_(host) {}

    // A sample of the reading thread: the stored counter advances (up to kStoredMax); once it is
    // full and no transfer runs, the head is told to send its samples ('R', purge, '|') with the
    // parser set to take FFT blocks. True when the transfer began just now (start the stall
    // timer). Nothing once the acquisition has ended.
    bool SampleStored();
    // The frame parser's progress: index of the last sample received (held within 0..8191).
    void SetTransferred(int32_t index);
    // A stall-timer tick: true when the transfer has not moved since the previous tick.
    bool StallTick();
    // Ends the acquisition: '}', 200 ms, the window enabled again, MeasurementRunning cleared,
    // 'S', input purged, FftTransfer cleared. Only the first call acts.
    void Finish();

    int Stored() const { return stored_; }
    int Transferred() const { return transferred_; }
    bool TransferStarted() const { return transferStarted_; }
    bool Finished() const { return finished_; }
    FftAcquisitionHost& host() const { return host_; }

private:
    FftAcquisitionHost& host_;
    int stored_ = 0;
    int transferred_ = 0;
    int seenAtLastTick_ = 0;
    bool transferStarted_ = false;
    bool finished_ = false;
};

}  // namespace instrument

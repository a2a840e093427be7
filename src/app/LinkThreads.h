#pragma once
// The owner of the link's worker threads and of what they share, made once at start-up. It
// makes the events (and, on the card link, the card's semaphore) before anything can signal
// them, makes and starts each kind of thread (reading, environment, signal monitor, firmware
// loader, BIOS text, port search) for whoever asks, and holds the shutdown order: no kind
// started any more, the loader and a port search told to end, the stop flags and quit events
// set, the threads let end while the user-interface thread keeps processing events (a thread
// may be inside a hand-off to it), and only then, when the owner goes, the thread objects, the
// events and the semaphore freed.
//
// One thread of a kind at a time: a start waits for the previous thread of its kind to end
// (processing events); the reading thread runs under the generation its starter took.
#include <cstdint>
#include <memory>
#include <optional>

#include "instrument/LadowanieProgramu.h"
#include "instrument/OdczytMeteo.h"
#include "instrument/UCheckCom.h"

class ISignalMonitorSink;
class ISignalSource;
namespace instrument {
class BiosTextSink;
class ReadingLink;
class ReadingSink;
class TOdczyt;
class TOdczytBiosu;
}  // namespace instrument

// What each kind of thread is wired to; the window implements it. Each is asked for once, when
// its kind is first made, and must outlive the owner's threads.
class LinkThreadWiring {
public:
    virtual ~LinkThreadWiring() = default;
    // The reading thread: where its samples and its end go, and the link it reads.
    virtual instrument::ReadingSink& ReadingOutputs() = 0;
    virtual instrument::ReadingLink& ReadingPort() = 0;
    // The environment thread: its displays, its averaging choices and one card channel's
    // exchange (called on the thread).
    virtual instrument::MeteoThreadSink& MeteoOutputs() = 0;
    virtual instrument::MeteoThreadSettings& MeteoChoices() = 0;
    virtual instrument::TOdczytMeteo::CardExchange MeteoCardExchange() = 0;
    // The firmware loader: its reports and its pauses.
    virtual instrument::LoadProgramSink& LoaderOutputs() = 0;
    virtual instrument::LoaderTimings LoaderPauses() = 0;
    // The card's start-up text.
    virtual instrument::BiosTextSink& BiosTextOutputs() = 0;
};

class LinkThreads final : public instrument::PortSearchThreads {
public:
    // The events, installed in the shared globals.
    explicit LinkThreads(LinkThreadWiring& wiring);
    // Stops what still runs, then frees the threads, the events and the semaphore.
    ~LinkThreads() override;
    LinkThreads(const LinkThreads&) = delete;
    LinkThreads& operator=(const LinkThreads&) = delete;

    // The card's ports are shared by the reading and the environment thread.
    void MakeCardSemaphore();

    // --- the kinds; a start while the owner stops starts nothing and returns false ---
    // A reading thread of this generation (after the previous one has ended).
    bool StartReading(uint64_t generation);
    // The reading thread's object (made on first use): its state and its end.
    instrument::TOdczyt& Reading();
    bool ReadingRunning() const;
    // The environment thread, unless one runs.
    bool StartMeteo();
    bool MeteoRunning() const;
    // The firmware loader at these speeds, unless one runs (a second request would only wait
    // for it on the user-interface thread).
    bool StartLoader(instrument::LoaderSpeeds speeds);
    // The loader of the last start, with its result; null before the first.
    instrument::TLoadProgram* Loader() const { return loader_.get(); }
    bool LoaderRunning() const;
    // The card's start-up text, unless a reader runs.
    bool StartBiosText();
    bool BiosTextRunning() const;
    // A signal monitor over this source (a previous one is told to end and waited for).
    bool StartSignalMonitor(std::shared_ptr<ISignalSource> source, ISignalMonitorSink& sink);
    bool SignalMonitorRunning() const;
    // The port search of a dialog (PortSearchThreads): one at a time, ended at shutdown.
    bool StartPortSearch(instrument::CheckComSink& owner, instrument::LoaderSpeeds speeds,
                         instrument::CheckComTimings timings) override;
    void AskPortSearchToEnd(instrument::CheckComSink& owner) override;
    void EndPortSearch(instrument::CheckComSink& owner) override;
    bool PortSearchRunning() const;

    // True from the start of Stop: an ending thread starts no other.
    bool Stopping() const { return stopping_; }
    // The shutdown order up to the threads' end; true when all have ended within the time.
    bool Stop(int timeoutMs);

private:
    bool AnyRunning() const;

    LinkThreadWiring& wiring_;
    bool stopping_ = false;
    std::unique_ptr<instrument::TOdczyt> reading_;
    std::unique_ptr<instrument::TOdczytMeteo> meteo_;
    std::unique_ptr<instrument::TLoadProgram> loader_;
    std::unique_ptr<instrument::TOdczytBiosu> biosText_;
    std::unique_ptr<instrument::TCheckCom> portSearch_;
    instrument::CheckComSink* portSearchOwner_ = nullptr;
};

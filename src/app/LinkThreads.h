#pragma once
// The owner of the link's worker threads and of what they share, made once at start-up. It
// makes the events (and, on the card link, the card's semaphore) before anything can signal
// them, keeps a watch on each kind of thread as it is first made (reading, environment, signal
// monitor, firmware loader, BIOS text), and holds the shutdown order: the loader told to end,
// the stop flags and quit events set, the threads let end while the user-interface thread keeps
// processing events (a thread may be inside a hand-off to it), and only then, when the owner
// goes, the events and the semaphore freed.
#include <functional>
#include <vector>

enum class LinkThreadKind { Reading, SignalMonitor, Loader, BiosText, Other };

class LinkThreads {
public:
    LinkThreads();   // the events, installed in the shared globals
    ~LinkThreads();  // stops what still runs, then frees the events and the semaphore
    LinkThreads(const LinkThreads&) = delete;
    LinkThreads& operator=(const LinkThreads&) = delete;

    // The card's ports are shared by the reading and the environment thread.
    void MakeCardSemaphore();
    // A thread of this kind: how to tell that it still runs and, where it has its own, how to
    // ask it to end (the flags and quit events cover the others).
    void Watch(LinkThreadKind kind, std::function<bool()> running, std::function<void()> stop = {});
    // The shutdown order up to the threads' end; true when all have ended within the time.
    bool Stop(int timeoutMs);

private:
    struct Watched {
        LinkThreadKind kind;
        std::function<bool()> running;
        std::function<void()> stop;
    };
    std::vector<Watched> watched_;
};

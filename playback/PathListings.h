#pragma once
// Listing paths handed to the player (the command line, a second start, a drop) away
// from the UI thread: a folder on a share that went away can hold a file-system call
// for minutes, and the window must go on answering meanwhile.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace playlist {

// Where paths came from, which decides what plays once they are listed.
enum class PathSource { CommandLine, SecondStart, Drop };

// A finished listing: the files its paths named, in their order (ExpandToFiles).
struct Listing {
    PathSource source;
    std::vector<std::wstring> files;
};

// Each listing runs on a thread of its own, so one slow folder holds up no other. A
// finished one leaves its result here and posts a wake-up to the window, which takes
// the results on its own thread; workers never send to it or wait on it. Owned and
// used by the window's thread; once it is destroyed, later results are dropped.
class PathListings {
public:
    explicit PathListings(UINT wakeMessage);
    ~PathListings();
    PathListings(const PathListings&) = delete;
    PathListings& operator=(const PathListings&) = delete;

    // Starts listing paths for window; false when refused: the source already has
    // as many listings pending as it may (a second start one, a drop four), or no
    // thread could be started.
    bool Start(HWND window, PathSource source, std::vector<std::wstring> paths);
    // The listings finished since the last call, in the order they finished.
    std::vector<Listing> TakeFinished();

private:
    struct Mailbox;
    struct Job;
    static DWORD WINAPI Run(void* job);
    std::shared_ptr<Mailbox> m_mailbox;
    int m_pending[3] = {};   // started and not yet taken, by source
};

// Listing threads of the process that have not ended yet.
int ListingsRunning();

} // namespace playlist

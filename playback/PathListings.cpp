// Listing handed paths on workers away from the UI thread, and handing the results back.
#include "playback/PathListings.h"

#include <atomic>
#include <memory>
#include <mutex>

#include "playback/OpenedPaths.h"

namespace playlist {

namespace {

// Listings a source may have pending. One forwarded batch at a time, so a sender
// cannot queue paths without bound; a user may drop again while a folder is listed.
constexpr int kMaxPending[] = {1, 1, 4};

std::atomic<int> g_running{0};

} // namespace

struct PathListings::Mailbox {
    std::mutex lock;
    HWND window = nullptr;                 // guarded by lock; cleared when the owner goes
    UINT wakeMessage = 0;
    std::vector<Listing> finished;         // guarded by lock
};

// What one listing thread holds.
struct PathListings::Job {
    std::shared_ptr<Mailbox> mailbox;
    PathSource source;
    std::vector<std::wstring> paths;
};

PathListings::PathListings(UINT wakeMessage) : m_mailbox(std::make_shared<Mailbox>())
{
    m_mailbox->wakeMessage = wakeMessage;
}

PathListings::~PathListings()
{
    std::lock_guard<std::mutex> hold(m_mailbox->lock);
    m_mailbox->window = nullptr;
    m_mailbox->finished.clear();
}

bool PathListings::Start(HWND window, PathSource source, std::vector<std::wstring> paths)
{
    const auto slot = static_cast<size_t>(source);
    if (m_pending[slot] >= kMaxPending[slot]) return false;
    {
        std::lock_guard<std::mutex> hold(m_mailbox->lock);
        m_mailbox->window = window;
    }
    auto job = std::make_unique<Job>(Job{m_mailbox, source, std::move(paths)});
    ++g_running;
    // A plain thread whose handle is closed at once: it is never joined, since a dead
    // share may hold it for minutes, and the runtime keeps no record of it meanwhile.
    const HANDLE thread = ::CreateThread(nullptr, 0, &PathListings::Run, job.get(), 0, nullptr);
    if (!thread) {
        --g_running;
        return false;
    }
    job.release();  // the thread's now
    ::CloseHandle(thread);
    ++m_pending[slot];
    return true;
}

DWORD WINAPI PathListings::Run(void* param)
{
    std::unique_ptr<Job> job(static_cast<Job*>(param));
    {
        Listing listing{job->source, ExpandToFiles(job->paths)};
        Mailbox& mailbox = *job->mailbox;
        std::lock_guard<std::mutex> hold(mailbox.lock);
        // Kept only for a live window: one that has gone would never take it.
        if (mailbox.window && ::IsWindow(mailbox.window)) {
            mailbox.finished.push_back(std::move(listing));
            ::PostMessageW(mailbox.window, mailbox.wakeMessage, 0, 0);
        }
    }
    // Counted as running until all it held is let go.
    job.reset();
    --g_running;
    return 0;
}

std::vector<Listing> PathListings::TakeFinished()
{
    std::vector<Listing> taken;
    {
        std::lock_guard<std::mutex> hold(m_mailbox->lock);
        taken.swap(m_mailbox->finished);
    }
    for (const Listing& listing : taken) --m_pending[static_cast<size_t>(listing.source)];
    return taken;
}

int ListingsRunning() { return g_running.load(); }

} // namespace playlist

// Listing handed paths on workers away from the UI thread, and handing the results back.
#include "playback/PathListings.h"

#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>

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
    ++g_running;
    try {
        std::thread([mailbox = m_mailbox, source, paths = std::move(paths)]() mutable {
            {
                Listing listing{source, ExpandToFiles(paths)};
                std::lock_guard<std::mutex> hold(mailbox->lock);
                // Kept only for a live window: one that has gone would never take it.
                if (mailbox->window && ::IsWindow(mailbox->window)) {
                    mailbox->finished.push_back(std::move(listing));
                    ::PostMessageW(mailbox->window, mailbox->wakeMessage, 0, 0);
                }
            }
            // Counted as running until all it held is let go.
            mailbox.reset();
            paths = {};
            --g_running;
        }).detach();
    } catch (const std::system_error&) {
        --g_running;
        return false;
    }
    ++m_pending[slot];
    return true;
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

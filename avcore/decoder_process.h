#pragma once
// One decoder process as the player sees it: started with reduced rights inside the
// player's job (so it never outlives the player), driven one command at a time
// through the shared control block, and killed the moment a command passes its
// budget or the caller gives up on it.
#include <windows.h>

#include <atomic>
#include <memory>

#include "avcore/decoder_protocol.h"
#include "avcore/win_handle.h"

namespace avcore {

class DecoderProcess {
public:
    // Starts this program again as a decoder; null when it cannot be started.
    static std::unique_ptr<DecoderProcess> Start(HANDLE job);
    ~DecoderProcess();  // kills the process if it still runs
    DecoderProcess(const DecoderProcess&) = delete;
    DecoderProcess& operator=(const DecoderProcess&) = delete;

    enum class Outcome { Replied, Died, OverBudget, Cancelled };
    // Sends the request written into control().request and waits for the response,
    // at most budgetMs, or until `cancel` (may be null) is set. On anything but a
    // reply the process is killed.
    Outcome call(DWORD budgetMs, HANDLE cancel);

    decoder::Control& control() { return *m_control; }
    // The decoder's identity once it has answered (waits up to timeoutMs for that).
    bool waitReady(DWORD timeoutMs);
    bool readyNow();  // the same without waiting, and without killing one that is still starting
    const decoder::Identity& identity() const { return m_identity; }
    bool alive() const;
    HANDLE process() const { return m_process.get(); }
    // A handle of this process made usable in the decoder; 0 on failure.
    uint64_t giveHandle(HANDLE h, DWORD access);
    void kill();

    // Decoders killed because a command passed its budget or died in a call.
    static int lostCount();

private:
    DecoderProcess() = default;
    bool waitForReply(DWORD budgetMs, HANDLE cancel, Outcome& outcome);
    // The first reply, which says the decoder is ready and who it is; waited for only once.
    bool takeFirstReply(DWORD budgetMs, HANDLE cancel, Outcome& outcome);
    void markReady();

    UniqueHandle m_process;
    UniqueHandle m_section;
    UniqueHandle m_command;  // auto-reset: a request is ready
    UniqueHandle m_reply;    // auto-reset: the response (or, first, the identity) is ready
    std::unique_ptr<decoder::Control, void (*)(decoder::Control*)> m_control{nullptr, nullptr};
    decoder::Identity m_identity{};
    bool m_ready = false;    // the first reply, the identity, was taken
};

} // namespace avcore

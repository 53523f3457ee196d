// The path the engine opens: the ANSI name, else the short name, else the wide path, looked up within a budget.
#include "playback/EnginePath.h"

#include <memory>
#include <optional>

#include "duilib/UIPath.h"

namespace DuiLib {

namespace {

std::string ToAnsi(const std::wstring& path) {
    const int n = WideCharToMultiByte(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0, nullptr,
                                      nullptr);
    if (n <= 0)
        return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, path.data(), static_cast<int>(path.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// The ANSI form, when it fits and names exactly this path (no stand-in or best-fit
// characters, which would open another file or none).
std::optional<std::string> CleanAnsi(const std::wstring& path) {
    std::string ansi = ToAnsi(path);
    if (ansi.empty() || ansi.size() > avplayer::kMaxAnsiPathBytes)
        return std::nullopt;
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring back(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), back.data(), n);
    if (back != path)
        return std::nullopt;
    return ansi;
}

// One look-up on a pool thread. The thread holds its own share, so one the caller
// gave up on ends harmlessly whenever the system answers.
struct LookUp {
    ShortPathLookup lookup;
    std::wstring path;
    std::wstring shortPath;   // written before done is set, read only after
    HANDLE done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    LookUp() = default;
    LookUp(const LookUp&) = delete;
    LookUp& operator=(const LookUp&) = delete;
    ~LookUp() {
        if (done)
            ::CloseHandle(done);
    }
};

void CALLBACK RunLookUp(PTP_CALLBACK_INSTANCE, void* context) {
    const std::unique_ptr<std::shared_ptr<LookUp>> share(static_cast<std::shared_ptr<LookUp>*>(context));
    LookUp& job = **share;
    job.shortPath = job.lookup(job.path);
    ::SetEvent(job.done);
}

// lookup(path), or nothing when it is not back within budgetMs.
std::optional<std::wstring> LookUpWithin(const ShortPathLookup& lookup, const std::wstring& path, DWORD budgetMs) {
    auto job = std::make_shared<LookUp>();
    if (!job->done)
        return std::nullopt;
    job->lookup = lookup;
    job->path = path;
    auto share = std::make_unique<std::shared_ptr<LookUp>>(job);
    if (!::TrySubmitThreadpoolCallback(RunLookUp, share.get(), nullptr))
        return std::nullopt;
    share.release();   // the pool thread's now
    if (::WaitForSingleObject(job->done, budgetMs) != WAIT_OBJECT_0)
        return std::nullopt;
    return job->shortPath;
}

} // namespace

std::wstring SystemShortPath(const std::wstring& path) {
    // Paths beyond MAX_PATH are only reachable with the extended prefix.
    const std::wstring kExtended = DuiLib::kExtendedPathPrefix;
    const bool extend = path.size() >= MAX_PATH && path.compare(0, 2, L"\\\\") != 0;
    const std::wstring query = extend ? DuiLib::ExtendedPathForm(path) : path;
    std::wstring out(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD n = GetShortPathNameW(query.c_str(), out.data(), static_cast<DWORD>(out.size()));
        if (n == 0)
            return {};
        if (n < out.size()) {
            out.resize(n);
            if (extend && out.compare(0, kExtended.size(), kExtended) == 0)
                out.erase(0, kExtended.size());
            return out;
        }
        out.assign(n, L'\0');
    }
    return {};
}

EngineOpenPath EngineOpenPathFor(const std::wstring& path, const ShortPathLookup& lookup, DWORD budgetMs) {
    if (path.empty())
        return {};
    if (std::optional<std::string> ansi = CleanAnsi(path))
        return {std::move(*ansi), {}};
    const std::optional<std::wstring> shortPath = LookUpWithin(lookup, path, budgetMs);
    if (!shortPath)
        return {};
    if (!shortPath->empty() && *shortPath != path)
        if (std::optional<std::string> ansi = CleanAnsi(*shortPath))
            return {std::move(*ansi), {}};
    return {{}, path};
}

int OpenInEngine(avplayer& player, const std::wstring& path, const EffectSettings& effect,
                 const ShortPathLookup& lookup) {
    const EngineOpenPath form = EngineOpenPathFor(path, lookup, avplayer::call_budget_ms(path.c_str()));
    if (!form.ansi.empty())
        return player.open(form.ansi.c_str(), 0, 2, effect.shape, effect.effectCode);
    if (!form.wide.empty())
        return player.open_wide(form.wide.c_str(), 0, 2, effect.shape, effect.effectCode);
    return 0;
}

} // namespace DuiLib

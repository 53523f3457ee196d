// The recording engine: avplayer's interface, no decoding. Each object keeps its
// own record, found again by address through Of().
#include "app_support/recording_avplayer.h"

#include <cstdint>
#include <cstdio>
#include <map>

struct avplayer::Impl {
    recording::EngineRecord record;

    int Log(const char* name, std::vector<double> numbers = {}, std::string path = {}) {
        record.calls.push_back({name, std::move(numbers), std::move(path)});
        return 0;
    }
};

namespace recording {
namespace {

std::map<const avplayer*, avplayer::Impl*>& Registry() {
    static std::map<const avplayer*, avplayer::Impl*> registry;
    return registry;
}

std::string Number(double v) {
    char buf[64];
    std::snprintf(buf, sizeof(buf), "%.17g", v);
    return buf;
}

bool IsPoll(const std::string& name) {
    return name == "play_status" || name == "curr_play_time" || name == "duration" || name == "get_mute";
}

} // namespace

std::string EngineCall::Text() const {
    std::string text = name + "(";
    bool first = true;
    if (name == "open" || name == "open_wide") {
        text += path;
        first = false;
    }
    for (double v : numbers) {
        if (!first)
            text += ",";
        text += Number(v);
        first = false;
    }
    return text + ")";
}

std::vector<EngineCall> EngineRecord::Commands() const {
    std::vector<EngineCall> out;
    for (const EngineCall& c : calls)
        if (!IsPoll(c.name))
            out.push_back(c);
    return out;
}

std::vector<std::string> EngineRecord::CommandTexts() const {
    std::vector<std::string> out;
    for (const EngineCall& c : Commands())
        out.push_back(c.Text());
    return out;
}

unsigned long g_callBudgetMs = 2000;

EngineRecord& Of(const avplayer& player) {
    return Registry().at(&player)->record;
}

} // namespace recording

avplayer::avplayer() : m_impl(std::make_unique<Impl>()) {
    recording::Registry()[this] = m_impl.get();
}

avplayer::~avplayer() {
    recording::Registry().erase(this);
}

int avplayer::subclasswindow(HWND hwnd, int mode) {
    return m_impl->Log("subclasswindow", {static_cast<double>(reinterpret_cast<uintptr_t>(hwnd)), double(mode)});
}

int avplayer::open(const char* path, int reserved1, int reserved2, int shape, int effectCode) {
    m_impl->Log("open", {double(reserved1), double(reserved2), double(shape), double(effectCode)}, path ? path : "");
    return m_impl->record.script.openResult;
}

int avplayer::open_wide(const wchar_t* path, int reserved1, int reserved2, int shape, int effectCode) {
    std::string utf8;
    if (path && *path) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, path, -1, nullptr, 0, nullptr, nullptr);
        utf8.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
        WideCharToMultiByte(CP_UTF8, 0, path, -1, utf8.data(), n, nullptr, nullptr);
    }
    m_impl->Log("open_wide", {double(reserved1), double(reserved2), double(shape), double(effectCode)}, utf8);
    return m_impl->record.script.openResult;
}

unsigned long avplayer::call_budget_ms(const wchar_t*) {
    return recording::g_callBudgetMs;
}

int avplayer::play(double startSeconds, int reserved) {
    m_impl->Log("play", {startSeconds, double(reserved)});
    m_impl->record.script.status = 1;
    return 0;
}

int avplayer::pause() {
    m_impl->Log("pause");
    if (m_impl->record.script.status == 1)
        m_impl->record.script.status = 2;
    return 0;
}

int avplayer::resume() {
    m_impl->Log("resume");
    if (m_impl->record.script.status == 2)
        m_impl->record.script.status = 1;
    return 0;
}

int avplayer::stop() {
    m_impl->Log("stop");
    m_impl->record.script.status = 4;
    return 0;
}

int avplayer::close() {
    m_impl->Log("close");
    m_impl->record.script.status = 0;
    return 0;
}

int avplayer::play_status() {
    m_impl->Log("play_status");
    return m_impl->record.script.status;
}

double avplayer::curr_play_time() {
    m_impl->Log("curr_play_time");
    return m_impl->record.script.position;
}

double avplayer::duration() {
    m_impl->Log("duration");
    return m_impl->record.script.duration;
}

void avplayer::seek_to(double fraction) {
    m_impl->Log("seek_to", {fraction});
}

void avplayer::volume(double left, double right) {
    m_impl->Log("volume", {left, right});
}

void avplayer::mute_set(bool mute) {
    m_impl->Log("mute_set", {mute ? 1.0 : 0.0});
    if (m_impl->record.script.muteSticks)
        m_impl->record.script.mute = mute;
}

bool avplayer::get_mute() {
    m_impl->Log("get_mute");
    return m_impl->record.script.mute;
}

bool avplayer::last_picture(std::vector<unsigned char>& bgra, int& width, int& height) const {
    m_impl->Log("last_picture");
    const recording::EngineScript& script = m_impl->record.script;
    if (script.pictureWidth <= 0)
        return false;
    bgra = script.picture;
    width = script.pictureWidth;
    height = script.pictureHeight;
    return true;
}

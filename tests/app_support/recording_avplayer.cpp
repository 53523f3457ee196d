// The recording engine: avplayer's interface, no decoding. Each object keeps its
// own record, found again by address through Of().
#include "app_support/recording_avplayer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cmath>
#include <map>

struct avplayer::Impl {
    recording::EngineRecord record;

    int Log(const char* name, std::vector<double> numbers = {}, std::string path = {}) {
        record.calls.push_back({name, std::move(numbers), std::move(path), GetTickCount64()});
        return 0;
    }
    // A read: logged, answered from the script.
    template <typename T>
    T Answer(const char* name, T recording::EngineScript::*field) {
        Log(name);
        return record.script.*field;
    }
    // Either open: logged with the path as received, then answered as scripted.
    int Open(const char* name, std::string path, int reserved1, int reserved2, int shape, int effectCode) {
        Log(name, {double(reserved1), double(reserved2), double(shape), double(effectCode)}, path);
        if (record.script.duringOpen)
            record.script.duringOpen();
        const std::vector<std::string>& failing = record.script.failingPaths;
        return std::find(failing.begin(), failing.end(), path) != failing.end() ? 0 : record.script.openResult;
    }
    // A command that moves the status (from any status when `from` is -1).
    int Move(const char* name, int from, int to, std::vector<double> numbers = {}) {
        Log(name, std::move(numbers));
        if (from < 0 || record.script.status == from)
            record.script.status = to;
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
    return name == "play_status" || name == "curr_play_time" || name == "duration" || name == "get_mute" ||
           name == "subtitles_shown" || name == "get_subtitles_delay" || name == "speed" ||
           name == "has_video" || name == "audio_tracks" || name == "audio_track";
}

std::string Utf8(const wchar_t* path) {
    if (!path || !*path)
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, path, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path, -1, utf8.data(), n, nullptr, nullptr);
    return utf8;
}

} // namespace

std::string EngineCall::Text() const {
    const bool withPath = name == "open" || name == "open_wide" || name == "set_subtitles";
    std::string text = name + "(" + (withPath ? path : "");
    for (size_t i = 0; i < numbers.size(); ++i)
        text.append(i || withPath ? "," : "").append(Number(numbers[i]));
    return text + ")";
}

std::vector<EngineCall> EngineRecord::Commands() const {
    std::vector<EngineCall> out;
    for (const EngineCall& c : calls)
        if (!IsPoll(c.name))
            out.push_back(c);
    return out;
}

std::vector<std::string> EngineRecord::CommandTexts(HWND video) const {
    const double handle = static_cast<double>(reinterpret_cast<uintptr_t>(video));
    std::vector<std::string> out;
    for (const EngineCall& c : Commands())
        out.push_back(video && c.name == "subclasswindow" && c.numbers.at(0) == handle
                          ? "subclasswindow(video," + Number(c.numbers.at(1)) + ")"
                          : c.Text());
    return out;
}

std::vector<std::string> EngineRecord::CallTexts() const {
    std::vector<std::string> out;
    for (const EngineCall& c : calls)
        out.push_back(c.Text());
    return out;
}

std::vector<std::string> EngineRecord::PathsOf(const char* name) const {
    std::vector<std::string> out;
    for (const EngineCall& c : calls)
        if (c.name == name)
            out.push_back(c.path);
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
    return m_impl->Open("open", path ? path : "", reserved1, reserved2, shape, effectCode);
}

int avplayer::open_wide(const wchar_t* path, int reserved1, int reserved2, int shape, int effectCode) {
    return m_impl->Open("open_wide", recording::Utf8(path), reserved1, reserved2, shape, effectCode);
}

unsigned long avplayer::call_budget_ms(const wchar_t*) {
    return recording::g_callBudgetMs;
}

int avplayer::play(double startSeconds, int reserved) {
    return m_impl->Move("play", -1, 1, {startSeconds, double(reserved)});
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

int avplayer::set_subtitles(const wchar_t* path) {
    m_impl->Log("set_subtitles", {}, recording::Utf8(path));
    return m_impl->record.script.subtitlesResult;
}

void avplayer::subtitles_show(bool show) {
    m_impl->Log("subtitles_show", {show ? 1.0 : 0.0});
    m_impl->record.script.subtitlesShown = show;
}

void avplayer::subtitles_delay(double seconds) {
    m_impl->Log("subtitles_delay", {seconds});
    m_impl->record.script.subtitlesDelay = seconds;
}

void avplayer::set_speed(double speed) {
    m_impl->Log("set_speed", {speed});
    if (!std::isnan(speed))
        m_impl->record.script.speed = std::clamp(speed, kMinSpeed, kMaxSpeed);
}

bool avplayer::set_audio_track(int number) {
    m_impl->Log("set_audio_track", {static_cast<double>(number)});
    recording::EngineScript& script = m_impl->record.script;
    if (number < 1 || number > static_cast<int>(script.audioTracks.size()))
        return false;
    script.audioTrack = number;
    return true;
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

// The reads, each logged and answered from its field of the script.
#define RECORDED_READ(type, method, logged, field) \
    type avplayer::method() { return m_impl->Answer(logged, &recording::EngineScript::field); }
RECORDED_READ(int, play_status, "play_status", status)
RECORDED_READ(double, curr_play_time, "curr_play_time", position)
RECORDED_READ(double, duration, "duration", duration)
RECORDED_READ(bool, get_mute, "get_mute", mute)
RECORDED_READ(bool, subtitles_shown, "subtitles_shown", subtitlesShown)
RECORDED_READ(double, subtitles_delay, "get_subtitles_delay", subtitlesDelay)
RECORDED_READ(double, speed, "speed", speed)
RECORDED_READ(bool, has_video, "has_video", hasVideo)
RECORDED_READ(std::vector<struct avplayer::audio_track>, audio_tracks, "audio_tracks", audioTracks)
RECORDED_READ(int, audio_track, "audio_track", audioTrack)
#undef RECORDED_READ

// The commands without arguments, which only move the status.
#define RECORDED_MOVE(method, from, to) \
    int avplayer::method() { return m_impl->Move(#method, from, to); }
RECORDED_MOVE(pause, 1, 2)
RECORDED_MOVE(resume, 2, 1)
RECORDED_MOVE(stop, -1, 4)
RECORDED_MOVE(close, -1, 0)
#undef RECORDED_MOVE

// Which subtitle file goes with a video, and the texts the subtitle keys show.
#include "playback/SubtitleFiles.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <memory>

namespace playlist {

namespace {

constexpr const wchar_t* kSubtitleExtensions[] = {L".srt", L".ass", L".ssa"};

std::wstring Lower(std::wstring s)
{
    for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

bool EndsWith(const std::wstring& s, const std::wstring& suffix)
{
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::wstring Stem(const std::wstring& name)
{
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

} // namespace

bool IsSubtitleFileName(const std::wstring& name)
{
    const std::wstring lower = Lower(name);
    for (const wchar_t* ext : kSubtitleExtensions)
        if (EndsWith(lower, ext)) return true;
    return false;
}

std::vector<std::wstring> SubtitleCandidates(const std::wstring& videoName, const std::vector<std::wstring>& namesInFolder)
{
    const std::wstring stem = Lower(Stem(videoName));
    std::vector<std::wstring> exact, withLanguage;
    for (const wchar_t* ext : kSubtitleExtensions) {
        std::vector<std::wstring> languages;
        for (const std::wstring& name : namesInFolder) {
            const std::wstring lower = Lower(name);
            if (lower == stem + ext) {
                exact.push_back(name);
                continue;
            }
            // A language part: one more dotted piece, not empty, without dots of its own.
            if (!EndsWith(lower, ext) || lower.size() <= stem.size() + 1 + wcslen(ext)) continue;
            if (lower.compare(0, stem.size() + 1, stem + L".") != 0) continue;
            const std::wstring language = lower.substr(stem.size() + 1, lower.size() - stem.size() - 1 - wcslen(ext));
            if (language.find(L'.') == std::wstring::npos) languages.push_back(name);
        }
        std::sort(languages.begin(), languages.end(),
                  [](const std::wstring& a, const std::wstring& b) { return Lower(a) < Lower(b); });
        withLanguage.insert(withLanguage.end(), languages.begin(), languages.end());
    }
    exact.insert(exact.end(), withLanguage.begin(), withLanguage.end());
    return exact;
}

std::wstring ChooseSubtitle(const std::wstring& videoName, const std::vector<std::wstring>& namesInFolder)
{
    const std::vector<std::wstring> candidates = SubtitleCandidates(videoName, namesInFolder);
    return candidates.empty() ? std::wstring() : candidates.front();
}

std::vector<std::wstring> SubtitlesBeside(const std::wstring& videoPath)
{
    const size_t slash = videoPath.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : videoPath.substr(0, slash + 1);
    const std::wstring name = slash == std::wstring::npos ? videoPath : videoPath.substr(slash + 1);
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    struct FindCloser { void operator()(HANDLE h) const { ::FindClose(h); } };
    const HANDLE first = ::FindFirstFileW((folder + Stem(name) + L".*").c_str(), &found);
    if (first == INVALID_HANDLE_VALUE) return {};
    const std::unique_ptr<void, FindCloser> find(first);
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (::FindNextFileW(find.get(), &found));
    std::vector<std::wstring> paths = SubtitleCandidates(name, names);
    for (std::wstring& path : paths) path = folder + path;
    return paths;
}

std::wstring FindSubtitleBeside(const std::wstring& videoPath)
{
    const std::vector<std::wstring> beside = SubtitlesBeside(videoPath);
    return beside.empty() ? std::wstring() : beside.front();
}

std::wstring SubtitleDelayText(double seconds)
{
    const long tenths = std::lround(seconds * 10.0);
    wchar_t text[48];
    swprintf(text, 48, L"字幕延迟 %ls%ld.%ld 秒", tenths < 0 ? L"-" : L"+", std::labs(tenths) / 10, std::labs(tenths) % 10);
    return text;
}

std::wstring SubtitleRefusalText(int result)
{
    switch (result) {
    case 1: return {};
    case -1: return L"字幕文件中没有可用的字幕";
    case -2: return L"字幕文件超过 20 MB，未加载";
    case -3: return L"字幕超过 100000 条，未加载";
    default: return L"字幕文件无法读取";
    }
}

} // namespace playlist

#include "e2e/player_screen.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include "e2e/picture.h"

namespace e2e {

std::string Utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Env(const wchar_t* name) {
    wchar_t value[1024] = L"";
    const DWORD n = GetEnvironmentVariableW(name, value, 1024);
    return n > 0 && n < 1024 ? value : L"";
}

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string();
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    return out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && out.flush();
}

bool PlayerScreen::Capture() {
    RECT rc{};
    return GetWindowRect(m_main, &rc) && CaptureScreen(rc, m_shot);
}

bool PlayerScreen::ShowsTestPattern() const { return HueClasses(m_shot, InnerBox(m_refs.layout.playRegion)) >= 4; }

bool PlayerScreen::ShowsSecondClip() const {
    return ShareNear(m_shot, InnerBox(m_refs.layout.playRegion), kFlatColour, 32) > 0.9;
}

POINT PlayerScreen::OnScreen(POINT client) const {
    ClientToScreen(m_main, &client);
    return client;
}

POINT PlayerScreen::CenterOf(const RECT& rc, int dx, int dy) const {
    return OnScreen({(rc.left + rc.right) / 2 + dx, (rc.top + rc.bottom) / 2 + dy});
}

void PlayerScreen::Save(const wchar_t* name) const { SaveShot(m_shot, testsupport::ScreenshotPath(name)); }

std::string PlayerScreen::Describe() const {
    return "status '" + Utf8(Status()) + "', time " + Utf8(Clock()) + " / " + Utf8(Total()) + ", hue classes " +
           std::to_string(HueClasses(m_shot, InnerBox(m_refs.layout.playRegion))) + ", second-clip share " +
           std::to_string(ShareNear(m_shot, InnerBox(m_refs.layout.playRegion), kFlatColour, 32));
}

::testing::AssertionResult PlayerScreen::Await(const char* step, const std::function<bool()>& pred, DWORD timeoutMs) {
    if (testsupport::PumpUntil([&] { return Capture() && pred(); }, timeoutMs, 60))
        return ::testing::AssertionSuccess();
    Save((L"e2e-failed-" + std::wstring(step, step + strlen(step)) + L".png").c_str());
    return ::testing::AssertionFailure() << step << ": not seen within " << timeoutMs << " ms; last capture: " << Describe();
}

void Press(POINT screen) {
    ClickAt(screen);
    MoveMouseTo({0, 0});
}

} // namespace e2e

#pragma once
// Shared by the list and combo tests: a stored-member ZIP written here, a skinned host
// window built from it, and a log of the notifications the host receives.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "duilib/UIlib.h"
#include "support/screenshot.h"

namespace listtest {

using Bytes = std::vector<uint8_t>;

inline uint32_t Crc32(const Bytes& data) {
    uint32_t crc = 0xFFFFFFFFu;
    for (uint8_t b : data) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline void Put16(Bytes& b, uint32_t v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); }
inline void Put32(Bytes& b, uint32_t v) { Put16(b, v & 0xFFFF); Put16(b, v >> 16); }

// A ZIP of stored (uncompressed) members; names are ASCII.
inline Bytes StoredZip(const std::vector<std::pair<std::string, std::string>>& members) {
    Bytes out;
    Bytes central;
    for (const auto& [name, text] : members) {
        const Bytes data(text.begin(), text.end());
        const uint32_t crc = Crc32(data);
        const uint32_t offset = static_cast<uint32_t>(out.size());
        Put32(out, 0x04034b50); Put16(out, 20); Put16(out, 0); Put16(out, 0);   // stored
        Put16(out, 0); Put16(out, 0);
        Put32(out, crc); Put32(out, static_cast<uint32_t>(data.size())); Put32(out, static_cast<uint32_t>(data.size()));
        Put16(out, static_cast<uint32_t>(name.size())); Put16(out, 0);
        out.insert(out.end(), name.begin(), name.end());
        out.insert(out.end(), data.begin(), data.end());

        Put32(central, 0x02014b50); Put16(central, 20); Put16(central, 20); Put16(central, 0); Put16(central, 0);
        Put16(central, 0); Put16(central, 0);
        Put32(central, crc); Put32(central, static_cast<uint32_t>(data.size()));
        Put32(central, static_cast<uint32_t>(data.size()));
        Put16(central, static_cast<uint32_t>(name.size())); Put16(central, 0); Put16(central, 0);
        Put16(central, 0); Put16(central, 0); Put32(central, 0); Put32(central, offset);
        central.insert(central.end(), name.begin(), name.end());
    }
    const uint32_t centralOffset = static_cast<uint32_t>(out.size());
    out.insert(out.end(), central.begin(), central.end());
    Put32(out, 0x06054b50); Put16(out, 0); Put16(out, 0);
    Put16(out, static_cast<uint32_t>(members.size())); Put16(out, static_cast<uint32_t>(members.size()));
    Put32(out, static_cast<uint32_t>(central.size())); Put32(out, centralOffset); Put16(out, 0);
    return out;
}

struct Note {
    std::wstring type;
    DuiLib::CControlUI* sender;
    WPARAM wParam;
    LPARAM lParam;
};

// A skinned window whose layout comes from the skin source; it records every notification.
class HostWnd : public DuiLib::WindowImplBase {
public:
    explicit HostWnd(const wchar_t* skinFile) : m_skin(skinFile) {}
    LPCTSTR GetWindowClassName() const override { return L"MorvaneListTestHost"; }
    DuiLib::CDuiString GetSkinFile() override { return m_skin.c_str(); }
    void Notify(DuiLib::TNotifyUI& msg) override {
        notes.push_back({msg.sType.GetData(), msg.pSender, msg.wParam, msg.lParam});
        if (onNotify) onNotify(msg);
    }
    DuiLib::CPaintManagerUI& Manager() { return m_PaintManager; }
    // A fresh control tree from the layout, in the same window; forgets the notifications.
    bool Reload() {
        DuiLib::CDialogBuilder builder;
        DuiLib::CControlUI* root = builder.Create(m_skin.c_str(), DuiLib::UILIB_FILE, this, &m_PaintManager);
        if (!root) return false;
        m_PaintManager.AttachDialog(root);
        m_PaintManager.UpdateLayout();
        notes.clear();
        onNotify = nullptr;
        return true;
    }

    // Notifications of one type, in order.
    std::vector<Note> Of(const wchar_t* type) const {
        std::vector<Note> out;
        for (const Note& n : notes) {
            if (n.type == type) out.push_back(n);
        }
        return out;
    }

    std::vector<Note> notes;
    std::function<void(DuiLib::TNotifyUI&)> onNotify;

private:
    std::wstring m_skin;
};

// One host window serves a whole test suite, each test with a fresh tree: under Wine
// without a window manager, destroying a window that was ever active waits 2 s.
inline HostWnd* SharedHost(std::unique_ptr<HostWnd>& slot, const wchar_t* skinFile, int width, int height) {
    if (slot && ::IsWindow(slot->GetHWND())) return slot->Reload() ? slot.get() : nullptr;
    slot = std::make_unique<HostWnd>(skinFile);
    if (!slot->Create(nullptr, L"host", WS_POPUP | WS_VISIBLE, 0, 40, 40, width, height)) return nullptr;
    return slot.get();
}

inline void CloseSharedHost(std::unique_ptr<HostWnd>& slot) {
    if (slot && ::IsWindow(slot->GetHWND())) ::DestroyWindow(slot->GetHWND());
    testsupport::PumpMessages(10);
    slot.reset();
}

// Installs an archive holding the given layouts as the skin source.
inline bool UseLayouts(const std::vector<std::pair<std::string, std::string>>& layouts) {
    DuiLib::CImageCache::Clear();
    return DuiLib::CSkinSource::UseMemory(StoredZip(layouts));
}

inline void Click(HWND hwnd, POINT pt, bool twice = false) {
    const LPARAM at = MAKELPARAM(pt.x, pt.y);
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, at);
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
    if (twice) {
        ::SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        ::SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
    }
}

// A click at a point of hostWnd while captureWnd holds the mouse: the system hands it
// to the capturing window in that window's coordinates.
inline void ClickCaptured(HWND captureWnd, HWND hostWnd, POINT pt) {
    ::MapWindowPoints(hostWnd, captureWnd, &pt, 1);
    const LPARAM at = MAKELPARAM(pt.x, pt.y);
    ::SendMessageW(captureWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(captureWnd, WM_LBUTTONUP, 0, at);
}

inline void Key(HWND hwnd, WPARAM key) {
    ::SendMessageW(hwnd, WM_KEYDOWN, key, 1);
    ::SendMessageW(hwnd, WM_KEYUP, key, 0xC0000001);
}

inline POINT Center(const RECT& rc) { return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

// A window's picture as 0x00RRGGBB pixels.
struct Shot {
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
    // Pixels in rc whose three channels all exceed the threshold.
    int CountBright(const RECT& rc, uint32_t threshold = 0xC0) const {
        int n = 0;
        for (int y = std::max(0L, rc.top); y < std::min(static_cast<LONG>(height), rc.bottom); ++y) {
            for (int x = std::max(0L, rc.left); x < std::min(static_cast<LONG>(width), rc.right); ++x) {
                const uint32_t p = At(x, y);
                if (((p >> 16) & 0xFF) > threshold && ((p >> 8) & 0xFF) > threshold && (p & 0xFF) > threshold) ++n;
            }
        }
        return n;
    }
};

inline Shot Capture(HWND hwnd) {
    Shot s;
    testsupport::CaptureWindow(hwnd, s.pixels, s.width, s.height);
    return s;
}

} // namespace listtest

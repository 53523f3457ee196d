#pragma once
// A skinned host window that records every notification it receives, in order.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "duilib/UIlib.h"

namespace testsupport {

struct Note {
    std::wstring type;
    DuiLib::CControlUI* sender;
    std::wstring senderName;
    WPARAM wParam;
    LPARAM lParam;
};

// It also serves as a bare notifier for a paint manager that has no window.
class RecordingHost : public DuiLib::WindowImplBase {
public:
    explicit RecordingHost(std::wstring skinFile = L"") : skin(std::move(skinFile)) {}

    std::wstring skin;
    std::vector<Note> notes;
    std::function<void(DuiLib::TNotifyUI&)> onNotify;

    LPCTSTR GetWindowClassName() const override { return L"MorvaneRecordingHost"; }
    DuiLib::CDuiString GetSkinFile() override { return skin.c_str(); }

    DuiLib::CPaintManagerUI& Manager() { return m_PaintManager; }

    void Notify(DuiLib::TNotifyUI& msg) override {
        notes.push_back({msg.sType.GetData(), msg.pSender, msg.pSender ? msg.pSender->GetName().GetData() : L"",
                         msg.wParam, msg.lParam});
        if (onNotify) onNotify(msg);
    }

    // Notifications of one type, in order.
    std::vector<Note> Of(const wchar_t* type) const {
        std::vector<Note> out;
        for (const Note& n : notes) {
            if (n.type == type) out.push_back(n);
        }
        return out;
    }

    // Every notification as "type:sender", in order.
    std::vector<std::wstring> Seen() const {
        std::vector<std::wstring> out;
        for (const Note& n : notes) out.push_back(n.type + L":" + n.senderName);
        return out;
    }

    // How many notifications of one type came, from the named control if one is given.
    int Count(const wchar_t* type, const wchar_t* sender = nullptr) const {
        int n = 0;
        for (const Note& note : notes) {
            if (note.type == type && (!sender || note.senderName == sender)) ++n;
        }
        return n;
    }
};

} // namespace testsupport

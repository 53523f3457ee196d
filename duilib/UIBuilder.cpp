#include "duilib/UIBuilder.h"
#include <windows.h>
#include <vector>
#include "duilib/UIContainer.h"
#include "duilib/UIControl.h"
#include "duilib/UIControlFactory.h"
#include "duilib/UIManager.h"
#include "duilib/UIParse.h"
#include "duilib/UIPath.h"
#include "duilib/UIResource.h"

namespace DuiLib {

namespace {

bool ReadDiskFile(const CDuiString& path, std::vector<uint8_t>& out) {
    HANDLE h = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = ::GetFileSizeEx(h, &size) && size.QuadPart >= 0 && size.QuadPart < (64 << 20);
    if (ok) {
        out.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        ok = out.empty() || (::ReadFile(h, out.data(), static_cast<DWORD>(out.size()), &got, nullptr) && got == out.size());
    }
    ::CloseHandle(h);
    return ok;
}

// Layouts on disk sit beside the exe: folder\file, then file.
bool ReadLayoutFromDisk(LPCTSTR folder, LPCTSTR file, std::vector<uint8_t>& out) {
    std::wstring exe;
    GetModulePath(exe);
    const std::wstring dir = exe.substr(0, exe.rfind(L'\\') + 1);  // empty when unknown
    std::vector<CDuiString> candidates;
    if (folder && *folder) candidates.push_back(CDuiString(LongPathForm(dir + folder + L"\\" + file)));
    candidates.push_back(CDuiString(LongPathForm(dir + file)));
    candidates.push_back(file);
    for (const CDuiString& path : candidates) {
        if (ReadDiskFile(path, out)) return true;
    }
    return false;
}

bool IsWindowEntry(const CDuiString& name) {
    return name == L"Font" || name == L"Default" || name == L"Image" || name == L"Style" || name == L"Include";
}

} // namespace

CControlUI* CDialogBuilder::Create(LPCTSTR skinFile, UINT type, IDialogBuilderCallback* pCallback,
                                   CPaintManagerUI* pManager, LPCTSTR skinFolder) {
    m_sError.Empty();
    if (!skinFile || !*skinFile) {
        m_sError = L"no layout file named";
        return nullptr;
    }
    std::vector<uint8_t> bytes;
    bool found = CSkinSource::IsLoaded() && CSkinSource::ReadFile(skinFolder ? skinFolder : L"", skinFile, bytes);
    if (!found && type == UILIB_FILE) found = ReadLayoutFromDisk(skinFolder, skinFile, bytes);
    if (!found) {
        m_sError = CDuiString(L"layout not found: ") + skinFile;
        return nullptr;
    }
    return CreateFromMemory(bytes.data(), bytes.size(), pCallback, pManager);
}

CControlUI* CDialogBuilder::CreateFromMemory(const void* data, size_t size, IDialogBuilderCallback* pCallback,
                                             CPaintManagerUI* pManager) {
    m_sError.Empty();
    CMarkupNode root;
    CDuiString error;
    if (!data || !ParseMarkup(data, size, root, &error)) {
        m_sError = error.IsEmpty() ? CDuiString(L"malformed layout") : error;
        return nullptr;
    }
    return CreateFromMarkup(root, pCallback, pManager);
}

CControlUI* CDialogBuilder::CreateFromMarkup(const CMarkupNode& document, IDialogBuilderCallback* pCallback,
                                             CPaintManagerUI* pManager) {
    m_sError.Empty();
    m_pCallback = pCallback;
    m_pManager = pManager;
    // Accept both a document node holding the top element and the top element itself.
    const CMarkupNode* top = &document;
    if (top->name.IsEmpty() && !top->children.empty()) top = &top->children.front();

    CControlUI* result = nullptr;
    if (top->name == L"Window") {
        if (pManager) ApplyWindowNode(*top, pManager);
        for (const CMarkupNode& child : top->children) {
            if (IsWindowEntry(child.name)) continue;
            result = BuildControl(child, nullptr);
            if (result) break;
        }
    } else {
        result = BuildControl(*top, nullptr);
    }
    if (!result) m_sError = L"the layout holds no control this library can build";
    m_pCallback = nullptr;
    m_pManager = nullptr;
    return result;
}

void CDialogBuilder::ApplyWindowNode(const CMarkupNode& node, CPaintManagerUI* pManager) {
    for (const auto& [name, value] : node.attributes) {
        if (name == L"size") {
            SIZE sz{};
            if (ParseSize(value, sz)) pManager->SetInitSize(sz.cx, sz.cy);
        } else if (name == L"sizebox") {
            RECT rc{};
            if (ParseRect(value, rc)) pManager->SetSizeBox(rc);
        } else if (name == L"caption") {
            RECT rc{};
            if (ParseRect(value, rc)) pManager->SetCaptionRect(rc);
        } else if (name == L"mininfo") {
            SIZE sz{};
            if (ParseSize(value, sz)) pManager->SetMinInfo(sz.cx, sz.cy);
        } else if (name == L"maxinfo") {
            SIZE sz{};
            if (ParseSize(value, sz)) pManager->SetMaxInfo(sz.cx, sz.cy);
        }
    }
    for (const CMarkupNode& child : node.children) {
        if (child.name == L"Font") {
            const wchar_t* face = child.GetAttribute(L"name");
            int size = 12;
            if (const wchar_t* s = child.GetAttribute(L"size")) ParseInt(s, size);
            auto flag = [&child](const wchar_t* attr) {
                const wchar_t* v = child.GetAttribute(attr);
                return v && ParseBool(v);
            };
            const int index = pManager->AddFont(face ? face : L"微软雅黑", size, flag(L"bold"), flag(L"underline"), flag(L"italic"));
            if (flag(L"default")) pManager->SetDefaultFont(index);
        } else if (child.name == L"Default") {
            const wchar_t* name = child.GetAttribute(L"name");
            const wchar_t* value = child.GetAttribute(L"value");
            if (name && value) pManager->AddDefaultAttributeList(name, value);
        }
    }
}

CControlUI* CDialogBuilder::BuildControl(const CMarkupNode& node, CControlUI* pParent) {
    CControlUI* control = CreateBuiltinControl(node.name);
    if (!control && m_pCallback) control = m_pCallback->CreateControl(node.name);
    if (!control) return nullptr;   // unknown class: skipped with everything inside it

    if (m_pManager) {
        // Known before the attributes, so those that need the window (scroll bar
        // defaults, fonts) find it.
        control->SetManager(m_pManager, pParent, false);
        if (LPCTSTR defaults = m_pManager->GetDefaultAttributeList(node.name)) control->ApplyAttributeList(defaults);
    }
    for (const auto& [name, value] : node.attributes) control->SetAttribute(name, value);

    if (!node.children.empty()) {
        auto* container = static_cast<IContainerUI*>(control->GetInterface(L"IContainer"));
        for (const CMarkupNode& childNode : node.children) {
            CControlUI* child = BuildControl(childNode, control);
            if (!child) continue;
            if (!container || !container->Add(child)) delete child;
        }
    }
    return control;
}

} // namespace DuiLib

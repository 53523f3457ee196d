#pragma once
// The four skinned windows with only their skin hooks: what the archive builds,
// with none of the player's behaviour. Used by the gallery and the pixel tests.
#include <memory>

#include "duilib/UIlib.h"

namespace skintest {

class SkinWindow : public DuiLib::WindowImplBase {
public:
    SkinWindow(const wchar_t* className, const wchar_t* skinFolder, const wchar_t* skinFile)
        : m_className(className), m_skinFolder(skinFolder), m_skinFile(skinFile) {}

    LPCTSTR GetWindowClassName() const override { return m_className; }
    DuiLib::CDuiString GetSkinFolder() override { return m_skinFolder; }
    DuiLib::CDuiString GetSkinFile() override { return m_skinFile; }
    UINT GetResourceType() override { return DuiLib::UILIB_ZIPRESOURCE; }
    UINT GetResourceID() override { return 131; }

    template <class T = DuiLib::CControlUI>
    T* Find(const wchar_t* name) { return static_cast<T*>(m_PaintManager.FindControl(name)); }

private:
    const wchar_t* m_className;
    const wchar_t* m_skinFolder;
    const wchar_t* m_skinFile;
};

enum class Layout { Main, Playbar, SystemInfo, Video };

// A window of the layout, created top-level at (x, y) with its layout size and shown
// without taking focus; null, with the reason on stderr, when the layout cannot be built.
std::unique_ptr<SkinWindow> ShowLayout(Layout layout, int x, int y);

} // namespace skintest

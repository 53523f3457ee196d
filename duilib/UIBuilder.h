#pragma once
// CDialogBuilder: builds a control tree from an XML layout of the skin.
#include <cstddef>
#include "duilib/UIDefines.h"
#include "duilib/UIMarkup.h"

namespace DuiLib {

class CControlUI;
class CPaintManagerUI;

// Where a layout comes from (the code a window's GetResourceType answers).
inline constexpr UINT UILIB_FILE = 0;          // the current skin source, else a file on disk
inline constexpr UINT UILIB_ZIPRESOURCE = 4;   // the archive in the module's "ZIPRES" resource

class CDialogBuilder {
public:
    // Reads skinFile (folder\file first, then the archive root) and builds it. With a
    // manager, the Window attributes, Font and Default entries go to it. Null when the
    // file is missing, the XML is malformed or no control could be built.
    CControlUI* Create(LPCTSTR skinFile, UINT type = UILIB_FILE, IDialogBuilderCallback* pCallback = nullptr,
                       CPaintManagerUI* pManager = nullptr, LPCTSTR skinFolder = nullptr);
    // The same from layout text in memory (UTF-8/UTF-16 with BOM, or UTF-8).
    CControlUI* CreateFromMemory(const void* data, size_t size, IDialogBuilderCallback* pCallback = nullptr,
                                 CPaintManagerUI* pManager = nullptr);
    // The same from a parsed document.
    CControlUI* CreateFromMarkup(const CMarkupNode& root, IDialogBuilderCallback* pCallback = nullptr,
                                 CPaintManagerUI* pManager = nullptr);
    // Why the last build gave null (empty after a success).
    const CDuiString& GetLastError() const { return m_sError; }

private:
    void ApplyWindowNode(const CMarkupNode& node, CPaintManagerUI* pManager);
    CControlUI* BuildControl(const CMarkupNode& node, CControlUI* pParent);

    IDialogBuilderCallback* m_pCallback = nullptr;
    CPaintManagerUI* m_pManager = nullptr;
    CDuiString m_sError;
};

} // namespace DuiLib

#pragma once
// CWindowWnd: a native window owned by a C++ object. One static window procedure
// finds the object and forwards every message to the virtual HandleMessage.
#include <windows.h>

namespace DuiLib {

class CWindowWnd {
public:
    CWindowWnd() = default;
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    bool RegisterWindowClass();
    bool RegisterSuperclass();
    // Creates the native window (class GetWindowClassName). Null on failure, also when
    // WM_CREATE refuses; OnFinalMessage is then not called and the object stays the caller's.
    HWND Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT, HMENU hMenu = nullptr);
    HWND Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT& rc,
                HMENU hMenu = nullptr);
    // Routes an existing window's messages through this object until Unsubclass.
    HWND Subclass(HWND hWnd);
    void Unsubclass();

    void ShowWindow(bool bShow = true, bool bTakeFocus = true);
    // Disables the owner and pumps messages until this window is closed or destroyed;
    // answers the code given to Close (IDCANCEL when destroyed another way).
    UINT ShowModal();
    // Posts WM_CLOSE carrying nRet.
    void Close(UINT nRet = IDOK);
    // Over the visible owner (or parent), else the work area; kept inside the work area.
    void CenterWindow();
    void SetIcon(UINT nRes);
    LRESULT SendMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Resizes so the client area becomes cx by cy (-1 keeps that dimension).
    void ResizeClient(int cx = -1, int cy = -1);
    // True when the last Create asked for the system's default size (CW_USEDEFAULT or 0).
    bool WasCreatedWithDefaultSize() const { return m_bDefaultSize; }

    // Virtual slots, in this order.
    virtual LPCTSTR GetWindowClassName() const = 0;
    virtual LPCTSTR GetSuperClassName() const;          // null: a class of our own
    virtual UINT GetClassStyle() const;                 // CS_DBLCLKS
    // Default handling: the superclass or subclassed procedure, else DefWindowProc.
    virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    // After WM_NCDESTROY; the library never touches the object after this call.
    virtual void OnFinalMessage(HWND hWnd);
    virtual ~CWindowWnd();

protected:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    // Common tail of both procedures; may run OnFinalMessage.
    static LRESULT Dispatch(CWindowWnd* pThis, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, bool bSubclass);

    // Cuts the native window loose from this object (later messages get default
    // handling); for objects destroyed while their window lives on.
    void DetachWindow();

    HWND m_hWnd = nullptr;
    WNDPROC m_OldWndProc = ::DefWindowProcW;
    UINT* m_pModalResult = nullptr;   // where WM_CLOSE's code goes while ShowModal runs
    bool m_bSubclassed = false;
    bool m_bCreating = false;
    bool m_bDefaultSize = false;
};

} // namespace DuiLib

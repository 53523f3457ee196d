#pragma once
// The table of control classes a layout may name.
#include <windows.h>

namespace DuiLib {

class CControlUI;

// A new control for a layout tag ("Button", "VerticalLayout", ...), or null when unknown.
CControlUI* CreateBuiltinControl(LPCTSTR pstrClass);

} // namespace DuiLib

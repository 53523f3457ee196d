#pragma once
// Per-class attribute tables: each control class maps attribute names to setters once
// and hands unknown names to its base class.
#include <windows.h>
#include <initializer_list>
#include <string>
#include <unordered_map>
#include <utility>

namespace DuiLib {

template <class T>
class TAttributeTable {
public:
    using Setter = void (*)(T& control, LPCTSTR value);

    TAttributeTable(std::initializer_list<std::pair<const wchar_t*, Setter>> entries) {
        for (const auto& e : entries) m_setters.emplace(e.first, e.second);
    }
    // Runs the setter for name; false when this table does not know the name.
    bool Apply(T& control, LPCTSTR name, LPCTSTR value) const {
        if (!name) return false;
        auto it = m_setters.find(name);
        if (it == m_setters.end()) return false;
        it->second(control, value ? value : L"");
        return true;
    }

private:
    std::unordered_map<std::wstring, Setter> m_setters;
};

} // namespace DuiLib

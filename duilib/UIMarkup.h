#pragma once
// A small XML reader for skin layouts: elements and attributes only (comments, the
// declaration and whitespace skipped; no DTD). UTF-8 with or without BOM, or UTF-16 LE
// with BOM. A repeated attribute keeps its later value. Never throws.
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>
#include "duilib/UIString.h"

namespace DuiLib {

struct CMarkupNode {
    CDuiString name;
    std::vector<std::pair<CDuiString, CDuiString>> attributes;  // in order, duplicates removed
    std::vector<CMarkupNode> children;
    CDuiString text;  // character data directly inside the element, entities decoded

    // Value of an attribute (exact name match), or null when absent.
    const wchar_t* GetAttribute(const wchar_t* attrName) const;
    bool HasAttribute(const wchar_t* attrName) const { return GetAttribute(attrName) != nullptr; }
};

// Parses a whole document; false (with a message) when it is not well-formed.
bool ParseMarkup(const void* data, size_t size, CMarkupNode& root, CDuiString* error = nullptr);

} // namespace DuiLib

#include "duilib/UIControlFactory.h"
#include <string>
#include <unordered_map>
#include "duilib/UIButton.h"
#include "duilib/UICombo.h"
#include "duilib/UIContainer.h"
#include "duilib/UILabel.h"
#include "duilib/UIList.h"
#include "duilib/UIProgress.h"
#include "duilib/UIScrollBar.h"

namespace DuiLib {

namespace {

using Maker = CControlUI* (*)();

template <class T>
CControlUI* Make() {
    return new T;
}

const std::unordered_map<std::wstring, Maker>& Table() {
    static const std::unordered_map<std::wstring, Maker> table{
        {L"Control", Make<CControlUI>},
        {L"Container", Make<CContainerUI>},
        {L"VerticalLayout", Make<CVerticalLayoutUI>},
        {L"HorizontalLayout", Make<CHorizontalLayoutUI>},
        {L"TabLayout", Make<CTabLayoutUI>},
        {L"Label", Make<CLabelUI>},
        {L"Text", Make<CTextUI>},
        {L"Button", Make<CButtonUI>},
        {L"Option", Make<COptionUI>},
        {L"Progress", Make<CProgressUI>},
        {L"Slider", Make<CSliderUI>},
        {L"ScrollBar", Make<CScrollBarUI>},
        // ---- Lists and combo boxes: entries for List, ListHeader, ListHeaderItem,
        // ListTextElement, ListLabelElement, ListContainerElement and Combo go here.
        {L"List", Make<CListUI>},
        {L"ListHeader", Make<CListHeaderUI>},
        {L"ListHeaderItem", Make<CListHeaderItemUI>},
        {L"ListElement", Make<CListElementUI>},
        {L"ListLabelElement", Make<CListLabelElementUI>},
        {L"ListTextElement", Make<CListTextElementUI>},
        {L"Combo", Make<CComboUI>},
        // ---- end of lists and combo boxes
    };
    return table;
}

} // namespace

CControlUI* CreateBuiltinControl(LPCTSTR pstrClass) {
    if (!pstrClass) return nullptr;
    const auto& table = Table();
    auto it = table.find(pstrClass);
    return it == table.end() ? nullptr : it->second();
}

} // namespace DuiLib

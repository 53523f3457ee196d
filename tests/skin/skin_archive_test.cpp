// The skin archive as linked into this exe: every member the player needs is there, the
// layouts are well formed, and every image they name decodes and fits the way it is used.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "duilib/UIControl.h"
#include "duilib/UIMarkup.h"
#include "duilib/UIParse.h"
#include "duilib/UIResource.h"

using namespace DuiLib;

namespace {

const wchar_t* const kLayouts[] = {L"MainFrame.xml", L"PlaybarFrame.xml", L"SystemInfoFrame.xml", L"VideoRealWnd.xml"};

// Members the player reads by name besides the layouts: the images of the archive root and
// of its folders, and the faces that code (not a layout) puts on controls.
const wchar_t* const kNamedMembers[] = {
    L"add_hover.png", L"add_normal.png", L"clear_hover.png", L"clear_normal.png", L"combo.png",
    L"delete_hover.png", L"delete_normal.png", L"hor_line.png", L"logo.png", L"scrollbar.png",
    L"setting.png", L"setting_d.png", L"split_screen_down.png", L"split_screen_left.png",
    L"split_screen_midlle.png", L"split_screen_right.png", L"split_screen_up.png", L"sys_close.png",
    L"sys_hot.png", L"sys_max.png", L"sys_min.png", L"sys_restore.png",
    L"playbar\\stop_normal.png", L"playbar\\prev_normal.png", L"playbar\\play_normal.png",
    L"playbar\\next_normal.png", L"playbar\\full.png", L"playbar\\sound_normal.png",
    L"playbar\\sound_hover.png", L"playbar\\sound_normal2.png", L"playbar\\sound_hover2.png",
    L"playbar\\video_fun_selected.png", L"slider\\slider_bk.png", L"slider\\slider_fg.png",
    L"slider\\thumb.png", L"shp\\yuan.png", L"shp\\shuidi.png", L"systeminfo\\button_normal.png",
    L"systeminfo\\button_hover.png",
};

bool IsImageAttribute(const CDuiString& name) { return name.str().ends_with(L"image"); }

// The pairs of a Default entry's value, as the library's own attribute-list reader splits them.
struct AttributePairs : CControlUI {
    std::vector<std::pair<CDuiString, CDuiString>> pairs;
    void SetAttribute(LPCTSTR name, LPCTSTR value) override { pairs.emplace_back(name, value); }
};

struct ImageUse { CDuiString layout, element, attribute, value; };

void ForEachNode(const CMarkupNode& node, const std::function<void(const CMarkupNode&)>& fn)
{
    fn(node);
    for (const auto& child : node.children) ForEachNode(child, fn);
}

void CollectImages(const CDuiString& layout, const CMarkupNode& root, std::vector<ImageUse>& uses)
{
    ForEachNode(root, [&](const CMarkupNode& node) {
        for (const auto& [name, value] : node.attributes) {
            if (IsImageAttribute(name)) uses.push_back({layout, node.name, name, value});
            if (node.name != L"Default" || name != L"value") continue;
            AttributePairs inner;
            inner.ApplyAttributeList(value);
            for (const auto& [innerName, innerValue] : inner.pairs)
                if (IsImageAttribute(innerName)) uses.push_back({layout, node.name, innerName, innerValue});
        }
    });
}

int Width(const RECT& rc) { return rc.right - rc.left; }
int Height(const RECT& rc) { return rc.bottom - rc.top; }

class SkinArchiveTest : public ::testing::Test {
protected:
    // Resource ZIPRES 131 of this exe, read directly.
    static void SetUpTestSuite()
    {
        const HMODULE self = GetModuleHandleW(nullptr);
        const HRSRC info = FindResourceW(self, MAKEINTRESOURCEW(131), L"ZIPRES");
        ASSERT_NE(info, nullptr);
        const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(self, info)));
        ASSERT_NE(data, nullptr);
        s_bytes.assign(data, data + SizeofResource(self, info));
        ASSERT_TRUE(s_archive.Open(s_bytes));
    }

    static CMarkupNode Layout(const wchar_t* name)
    {
        std::vector<uint8_t> bytes;
        CMarkupNode root;
        CDuiString error;
        EXPECT_TRUE(s_archive.Read(name, bytes)) << name;
        EXPECT_TRUE(ParseMarkup(bytes.data(), bytes.size(), root, &error)) << name << ": " << error.GetData();
        return root;
    }

    static inline std::vector<uint8_t> s_bytes;
    static inline CZipArchive s_archive;
};

TEST_F(SkinArchiveTest, CarriesEveryNamedMember)
{
    for (const wchar_t* name : kNamedMembers) EXPECT_TRUE(s_archive.Contains(name)) << name;
}

TEST_F(SkinArchiveTest, MembersAreDeflatedUnderPlainRootPaths)
{
    for (const CDuiString& name : s_archive.Names()) {
        const std::wstring& s = name.str();
        EXPECT_FALSE(s.starts_with(L"./") || s.starts_with(L"/") || s.find(L'\\') != std::wstring::npos) << s;
    }
    // Every central-directory record (PK\1\2) names method 8, deflate.
    int records = 0;
    for (size_t i = 0; i + 46 <= s_bytes.size(); ++i) {
        if (std::memcmp(&s_bytes[i], "PK\x01\x02", 4) != 0) continue;
        ++records;
        const uint16_t method = static_cast<uint16_t>(s_bytes[i + 10] | (s_bytes[i + 11] << 8));
        EXPECT_EQ(method, 8) << "record " << records;
    }
    EXPECT_EQ(records, static_cast<int>(s_archive.Names().size()));
}

TEST_F(SkinArchiveTest, LayoutsAreUtf8WithBomAndWellFormed)
{
    for (const wchar_t* name : kLayouts) {
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(s_archive.Read(name, bytes)) << name;
        ASSERT_GE(bytes.size(), 3u);
        EXPECT_TRUE(bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) << name;
        EXPECT_EQ(Layout(name).name, L"Window") << name;
    }
}

// Every image a layout names (Default entries included) is in the archive and decodes,
// through the skin source and its cache as well; a source rectangle lies inside the image,
// corners leave a middle to stretch, and a face placed by dest alone is drawn at exactly that size.
TEST_F(SkinArchiveTest, EveryReferencedImageDecodesAndFitsItsUse)
{
    ASSERT_TRUE(CSkinSource::UseResource(GetModuleHandleW(nullptr), 131));
    std::vector<ImageUse> uses;
    for (const wchar_t* name : kLayouts) CollectImages(name, Layout(name), uses);
    ASSERT_GT(uses.size(), 40u);

    for (const ImageUse& use : uses) {
        const std::wstring where = use.layout.str() + L" <" + use.element.str() + L" " + use.attribute.str() + L"=\"" +
                                   use.value.str() + L"\">";
        TImageDesc desc;
        ASSERT_TRUE(ParseImageDesc(use.value, desc)) << where;
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(s_archive.Read(desc.file, bytes)) << "missing member: " << where;
        auto image = DecodeImage(bytes.data(), bytes.size());
        ASSERT_TRUE(image) << "does not decode: " << where;
        EXPECT_TRUE(CImageCache::Get(desc.file)) << "not from the skin source: " << where;

        RECT area{0, 0, image->width, image->height};
        if (desc.hasSource) {
            EXPECT_TRUE(desc.source.left >= 0 && desc.source.top >= 0 && desc.source.right <= image->width &&
                        desc.source.bottom <= image->height && Width(desc.source) > 0 && Height(desc.source) > 0)
                << "source outside the image: " << where;
            area = desc.source;
        }
        if (desc.hasCorner) {
            EXPECT_LT(desc.corner.left + desc.corner.right, Width(area)) << where;
            EXPECT_LT(desc.corner.top + desc.corner.bottom, Height(area)) << where;
        }
        if (desc.hasDest && !desc.hasSource) {
            EXPECT_EQ(Width(desc.dest), image->width) << "face scaled: " << where;
            EXPECT_EQ(Height(desc.dest), image->height) << "face scaled: " << where;
        }
    }
    // Cached per id: asking again is cheap and keeps the archive.
    EXPECT_TRUE(CSkinSource::UseResource(GetModuleHandleW(nullptr), 131));
    CSkinSource::Reset();
}

TEST_F(SkinArchiveTest, ArtHasTheSizesItsPlacesNeed)
{
    const std::pair<const wchar_t*, SIZE> sizes[] = {
        {L"logo.png", {48, 48}},         {L"shp\\yuan.png", {128, 128}},      {L"shp\\shuidi.png", {128, 128}},
        {L"combo.png", {237, 54}},       {L"slider\\thumb.png", {20, 12}},    {L"setting.png", {35, 35}},
        {L"split_screen_left.png", {8, 20}}, {L"split_screen_right.png", {8, 20}},
    };
    for (const auto& [name, size] : sizes) {
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(s_archive.Read(name, bytes)) << name;
        auto image = DecodeImage(bytes.data(), bytes.size());
        ASSERT_TRUE(image) << name;
        EXPECT_EQ(image->width, size.cx) << name;
        EXPECT_EQ(image->height, size.cy) << name;
    }
}

// The names the windows' code looks up; each must be declared once (the two
// "txt_date" labels of the settings window are the one sanctioned repeat).
TEST_F(SkinArchiveTest, LayoutsDeclareTheControlsTheCodeLooksUp)
{
    const std::map<std::wstring, std::vector<std::wstring>> lookups = {
        {L"MainFrame.xml",
         {L"btn_setting", L"txt_playingpath", L"txt_playstatus", L"btn_min", L"btn_max", L"btn_restore",
          L"btn_close", L"playregion", L"btn_map_shrink", L"listregion", L"btnadd", L"btndelete", L"btnclear",
          L"listplay", L"txt_curtime", L"slider_play", L"txt_totaltime", L"btn_stop", L"btn_prev", L"btn_play",
          L"btn_next", L"btn_mute", L"btn_muteoff", L"slider_volumn", L"btn_fullscreen"}},
        {L"PlaybarFrame.xml",
         {L"txt_curtime", L"slider_play", L"txt_totaltime", L"btn_stop", L"btn_prev", L"btn_play", L"btn_next",
          L"btn_mute", L"btn_muteoff", L"slider_volumn", L"btn_fullscreen"}},
        {L"SystemInfoFrame.xml",
         {L"btn_close", L"list_type", L"tab_fun", L"comb_shape", L"shppreview", L"comb_effect",
          L"comb_colortable", L"comb_texture", L"txt_sysname", L"txt_author", L"btn_gotoweb", L"btn_save"}},
        {L"VideoRealWnd.xml", {L"novideo"}},
    };
    for (const auto& [layout, names] : lookups) {
        std::map<std::wstring, int> count;
        ForEachNode(Layout(layout.c_str()), [&](const CMarkupNode& node) {
            const wchar_t* name = node.GetAttribute(L"name");
            if (name && node.name != L"Font" && node.name != L"Default") ++count[name];
        });
        for (const std::wstring& name : names) EXPECT_EQ(count[name], 1) << layout << " " << name;
        for (const auto& [name, n] : count) EXPECT_LE(n, name == L"txt_date" ? 2 : 1) << "repeated: " << name;
        if (layout == L"SystemInfoFrame.xml") {
            EXPECT_EQ(count[L"txt_date"], 2);
        }
    }
}

// The settings window turns a combo index into a stored value, so each combo's
// items must stand in the order of the effect tables, the first one selected.
TEST_F(SkinArchiveTest, SettingsCombosListTheEffectTablesInOrder)
{
    std::map<std::wstring, std::vector<std::wstring>> expected = {
        {L"comb_shape", {L"无", L"椭圆", L"水滴"}},
        {L"comb_effect",
         {L"无", L"经典", L"紫色迷情", L"怀旧", L"摇滚", L"哥特风", L"HDR", L"80S", L"复古", L"巴黎", L"黑白", L"印象",
          L"胶片", L"深蓝泪雨", L"泛黄暗角", L"反转色"}},
        {L"comb_colortable", {L"无", L"火焰", L"结冰"}},
        {L"comb_texture", {L"无"}},
    };
    for (int i = 1; i <= 10; ++i) expected[L"comb_texture"].push_back(L"纹理" + std::to_wstring(i));

    int combos = 0;
    ForEachNode(Layout(L"SystemInfoFrame.xml"), [&](const CMarkupNode& node) {
        if (node.name != L"Combo") return;
        ++combos;
        const std::wstring name = node.GetAttribute(L"name") ? node.GetAttribute(L"name") : L"";
        ASSERT_TRUE(expected.count(name)) << name;
        std::vector<std::wstring> texts;
        for (size_t i = 0; i < node.children.size(); ++i) {
            const CMarkupNode& item = node.children[i];
            EXPECT_EQ(item.name, L"ListLabelElement");
            texts.push_back(item.GetAttribute(L"text") ? item.GetAttribute(L"text") : L"");
            const wchar_t* selected = item.GetAttribute(L"selected");
            EXPECT_EQ(selected && ParseBool(selected), i == 0) << name << " item " << i;
        }
        EXPECT_EQ(texts, expected[name]) << name;
    });
    EXPECT_EQ(combos, 4);
}

} // namespace

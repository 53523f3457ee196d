// The layout XML reader: encodings, entities, quirks the layouts rely on, and hostile input.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "duilib/UIMarkup.h"

using namespace DuiLib;

namespace {
bool Parse(const std::string& text, CMarkupNode& root, CDuiString* error = nullptr)
{
    return ParseMarkup(text.data(), text.size(), root, error);
}
} // namespace

TEST(Markup, ReadsTreeAttributesAndText)
{
    const std::string xml =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- main -->\n"
        "<Window size=\"840,600\" caption='0,0,0,36'>\n"
        "  <VerticalLayout>\n"
        "    <!-- <Button name=\"commented\"/> -->\n"
        "    <Label text=\"没有视频在播放\" />\n"
        "    <Text>a &lt;b&gt; &amp; &quot;c&quot; &apos;d&apos; &#65;&#x42;&#x1F600;</Text>\n"
        "    <Text><![CDATA[<raw & kept>]]></Text>\n"
        "  </VerticalLayout>\n"
        "</Window>\n";
    CMarkupNode root;
    CDuiString error;
    ASSERT_TRUE(Parse(xml, root, &error)) << error.GetData();
    EXPECT_EQ(root.name, L"Window");
    EXPECT_STREQ(root.GetAttribute(L"caption"), L"0,0,0,36");
    EXPECT_EQ(root.GetAttribute(L"Size"), nullptr);  // names are exact
    ASSERT_EQ(root.children.size(), 1u);
    const CMarkupNode& layout = root.children[0];
    ASSERT_EQ(layout.children.size(), 3u);  // the commented button is gone
    EXPECT_STREQ(layout.children[0].GetAttribute(L"text"), L"没有视频在播放");
    EXPECT_EQ(layout.children[1].text, L"a <b> & \"c\" 'd' AB\U0001F600");
    EXPECT_EQ(layout.children[2].text, L"<raw & kept>");
    EXPECT_TRUE(layout.text.IsEmpty());  // indentation is not content
}

TEST(Markup, RepeatedAttributeKeepsLaterValueAndUtf16Reads)
{
    CMarkupNode root;
    ASSERT_TRUE(Parse("<List itemalign=\"left\" header=\"hidden\" itemalign=\"center\" v=\"x\ny\"/>", root));
    ASSERT_EQ(root.attributes.size(), 3u);
    EXPECT_EQ(root.attributes[0].second, L"center");
    EXPECT_STREQ(root.GetAttribute(L"v"), L"x y");  // line breaks in values become spaces

    // A million attributes parse in one pass (a quadratic repeat check would outlast the
    // test timeout); a repeat among them still keeps the later value.
    std::string many = "<a";
    for (int i = 0; i < 1000000; ++i) many += " n" + std::to_string(i) + "='" + std::to_string(i) + "'";
    ASSERT_TRUE(Parse(many + " n5='last'/>", root));
    ASSERT_EQ(root.attributes.size(), 1000000u);
    EXPECT_EQ(root.attributes[5].second, L"last");
    EXPECT_STREQ(root.GetAttribute(L"n999999"), L"999999");

    const std::wstring wide = L"\xFEFF<Label text=\"暂停\"/>";
    std::string le;
    for (wchar_t c : wide) { le.push_back(static_cast<char>(c & 0xFF)); le.push_back(static_cast<char>(c >> 8)); }
    ASSERT_TRUE(Parse(le, root));
    EXPECT_STREQ(root.GetAttribute(L"text"), L"暂停");
    EXPECT_FALSE(Parse(le.substr(0, le.size() - 1), root));  // odd byte count
}

TEST(Markup, MalformedDocumentsFailWithAMessage)
{
    const char* bad[] = {
        "", "<!-- only a comment -->", "text first <a/>", "<a>", "<a></b>", "<a><b></a></b>", "<a x=1/>",
        "<a x=\"1/>", "<a x=\"1\"y=\"2\"/>", "<a x/>", "<a x=\"<\"/>", "<a>&unknown;</a>", "<a>&#xD800;</a>",
        "<a>&#0;</a>", "<a>&#x110000;</a>", "<a>&amp</a>", "<a/><b/>", "<a/>trailing", "<a><!-- open </a>",
        "<a><![CDATA[ open </a>", "<!DOCTYPE a [<!ENTITY e \"x\">]><a/>", "< a/>",
        // Malformed UTF-8: a lone continuation, a cut sequence, an overlong '/', a surrogate.
        "<a x='\x80'/>", "<a x='\xE6\x92'/>", "<a x='\xC0\xAF'/>", "<a>\xED\xA0\x80</a>",
    };
    for (const char* text : bad) {
        CMarkupNode root;
        root.name = L"stale";
        CDuiString error;
        EXPECT_FALSE(Parse(text, root, &error)) << "accepted: " << text;
        EXPECT_FALSE(error.IsEmpty()) << text;
        EXPECT_TRUE(root.name.IsEmpty()) << text;  // no half-built tree left behind
    }
    CMarkupNode root;
    CDuiString error;
    EXPECT_FALSE(Parse("<a>\n<b>\n</c>\n</a>", root, &error));
    EXPECT_EQ(error.Find(L"line 3"), 0) << error.GetData();
    EXPECT_FALSE(ParseMarkup(nullptr, 5, root, &error));
}

TEST(Markup, HostileInputIsRefusedWithoutCrashing)
{
    auto nested = [](int depth) {
        std::string s;
        for (int i = 0; i < depth; ++i) s += "<n>";
        for (int i = 0; i < depth; ++i) s += "</n>";
        return s;
    };
    CMarkupNode root;
    EXPECT_TRUE(Parse(nested(200), root));
    EXPECT_FALSE(Parse(nested(100000), root));  // refused, not a stack overflow

    const std::string doc =
        "\xEF\xBB\xBF<?xml version=\"1.0\"?><Window size=\"840,600\"><Font name=\"微软雅黑\"/>"
        "<HorizontalLayout><Button name=\"btn_play\" tooltip=\"播放 &amp; 暂停\" normalimage=\"file='a.png'\"/>"
        "<!-- c --><Text>&#x4E2D;<![CDATA[x]]></Text></HorizontalLayout></Window>";
    ASSERT_TRUE(Parse(doc, root));
    for (size_t n = 0; n < doc.size(); ++n) EXPECT_FALSE(Parse(doc.substr(0, n), root)) << "prefix " << n;

    std::mt19937 rng(1234);
    const char alphabet[] = "<>/=\"'&;#x!-[]?CDATA \n\xE4\xB8\xAD\xFF\xFE";
    for (int round = 0; round < 3000; ++round) {
        std::string damaged = doc;
        for (int e = 0, edits = 1 + static_cast<int>(rng() % 6); e < edits && !damaged.empty(); ++e) {
            const size_t at = rng() % damaged.size();
            const char c = alphabet[rng() % (sizeof(alphabet) - 1)];
            switch (rng() % 3) {
            case 0: damaged[at] = c; break;
            case 1: damaged.erase(at, 1 + rng() % 8); break;
            default: damaged.insert(at, 1, c); break;
            }
        }
        Parse(damaged, root);  // any answer will do; it must come back
    }
    std::string noise(4096, '\0');
    for (int round = 0; round < 200; ++round) {
        for (char& c : noise) c = static_cast<char>(rng());
        EXPECT_FALSE(Parse(noise, root));
    }
}

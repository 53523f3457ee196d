// The wide string and the attribute value parsers.
#include <gtest/gtest.h>

#include "duilib/UIParse.h"
#include "duilib/UIString.h"

using namespace DuiLib;

TEST(DuiString, OutOfRangeArgumentsClampInsteadOfOverrunning)
{
    const CDuiString s(L"playlist");
    EXPECT_EQ(s.Left(100), L"playlist");
    EXPECT_EQ(s.Left(-3), L"");
    EXPECT_EQ(s.Mid(4, 2), L"li");
    EXPECT_EQ(s.Mid(6, 50), L"st");
    EXPECT_EQ(s.Mid(50), L"");
    EXPECT_EQ(s.Mid(-2, 4), L"play");
    EXPECT_EQ(s.Right(40), L"playlist");
    EXPECT_EQ(s.Find(L'l', 2), 4);
    EXPECT_EQ(s.Find(L'l', 99), -1);
    EXPECT_EQ(s.Find(L"list", 5), -1);
    EXPECT_EQ(s.Find(L"x", -7), -1);
    EXPECT_EQ(s.Find(static_cast<const wchar_t*>(nullptr)), -1);
    EXPECT_EQ(s.GetAt(8), L'\0');
    EXPECT_EQ(s[-1], L'\0');
    EXPECT_EQ(CDuiString(L"abc", 10), L"abc");  // stops at the terminator
    EXPECT_TRUE(CDuiString(static_cast<const wchar_t*>(nullptr)).IsEmpty());
}

TEST(DuiString, EditingAndComparing)
{
    CDuiString s(L"file.mp4");
    s = s.GetData() + 5;  // assigning from our own buffer
    EXPECT_EQ(s, L"mp4");
    CDuiString grow(L"aaa");
    EXPECT_EQ(grow.Replace(L"a", L"aa"), 3);  // the replacement is not rescanned
    EXPECT_EQ(grow, L"aaaaaa");
    EXPECT_EQ(grow.Replace(L"", L"x"), 0);
    CDuiString cut(L"name{#0}");
    cut.Replace(L"{#0}", nullptr);
    EXPECT_EQ(cut, L"name");
    EXPECT_EQ(CDuiString(L"ButtonUI").CompareNoCase(L"buttonui"), 0);
    EXPECT_EQ(CDuiString(L"ÄÖ").CompareNoCase(L"äö"), 0);
    EXPECT_EQ(CDuiString(L"").Compare(nullptr), 0);
}

TEST(DuiString, FormatIsWindowsStyleWidePrintf)
{
    CDuiString s;
    EXPECT_EQ(s.Format(L"%02d:%02d:%02d", 1, 2, 3), 8);
    EXPECT_EQ(s, L"01:02:03");
    s.Format(L"msg  %s \r\n", L"click");  // "%s" takes a wide string, as the trace uses it
    EXPECT_EQ(s, L"msg  click \r\n");
    s.Format(L"%.2f|%ls|%c", 0.5, L"宽", L'x');
    EXPECT_EQ(s, L"0.50|宽|x");
    const std::wstring big(5000, L'z');
    EXPECT_EQ(s.Format(L"%s", big.c_str()), 5000);
}

TEST(ParseValues, ColoursInBothFormsWithAlphaOnTop)
{
    const std::pair<const wchar_t*, DWORD> good[] = {
        {L"0xff445b84", 0xFF445B84}, {L"#FFC3C7D5", 0xFFC3C7D5}, {L"0XFF000000", 0xFF000000},
        {L"0x88000000", 0x88000000}, {L"#445b84", 0xFF445B84}, {L" 0x00000000 ", 0}};
    for (const auto& [text, expected] : good) {
        DWORD c = 1;
        EXPECT_TRUE(ParseColor(text, c));
        EXPECT_EQ(c, expected);
    }
    DWORD c = 0x12345678;
    for (const wchar_t* bad : {L"", L"ff445b84", L"0x", L"#", L"0xff445b8", L"0x1ff445b84", L"#GG000000",
                               L"0xff44 5b84", L"red", static_cast<const wchar_t*>(nullptr)}) {
        EXPECT_FALSE(ParseColor(bad, c));
    }
    EXPECT_EQ(c, 0x12345678u);
}

TEST(ParseValues, RectsSizesAndInts)
{
    RECT rc{9, 9, 9, 9};
    ASSERT_TRUE(ParseRect(L"0, 0, 0, 0", rc));
    EXPECT_EQ(rc.left + rc.top + rc.right + rc.bottom, 0);
    ASSERT_TRUE(ParseRect(L" -1 , 2,3 ", rc));  // a missing last value is 0
    EXPECT_EQ(rc.left, -1);
    EXPECT_EQ(rc.right, 3);
    EXPECT_EQ(rc.bottom, 0);
    for (const wchar_t* bad : {L"", L"a,b", L"1,2,3,4,5", L"1,,3", L"1;2", L"1,2,"}) EXPECT_FALSE(ParseRect(bad, rc));
    SIZE sz{};
    ASSERT_TRUE(ParseSize(L"840,600", sz));
    EXPECT_EQ(sz.cy, 600);
    int v = 0;
    ASSERT_TRUE(ParseInt(L"99999999999", v));  // clamped, not wrapped
    EXPECT_EQ(v, INT_MAX);
    EXPECT_FALSE(ParseInt(L"12px", v));
    EXPECT_TRUE(ParseBool(L"TRUE"));
    EXPECT_FALSE(ParseBool(L"truer"));
}

TEST(ParseValues, ImageDescriptions)
{
    TImageDesc d;
    ASSERT_TRUE(ParseImageDesc(L"slider\\thumb.png", d));  // bare path, backslash kept
    EXPECT_EQ(d.file, L"slider\\thumb.png");
    EXPECT_FALSE(d.hasSource || d.hasDest || d.hasCorner);

    ASSERT_TRUE(ParseImageDesc(L"  dest='1,1,25,22'   fade='128' source = '0,0,24,21' file='sys_min.png' ", d));
    EXPECT_EQ(d.file, L"sys_min.png");
    EXPECT_TRUE(d.hasDest && d.hasSource && !d.hasCorner);
    EXPECT_EQ(d.dest.right, 25);
    EXPECT_EQ(d.source.bottom, 21);
    EXPECT_EQ(d.fade, 128);

    ASSERT_TRUE(ParseImageDesc(L"file='slider\\slider_bk.png' corner='6,0,6,0'", d));
    EXPECT_EQ(d.file, L"slider\\slider_bk.png");
    EXPECT_TRUE(d.hasCorner && !d.hasDest);  // nothing left over from the previous parse
    EXPECT_EQ(d.corner.right, 6);
    EXPECT_EQ(d.fade, 255);

    for (const wchar_t* bad : {L"", L"   ", L"corner='1,1,1,1'", L"file='x.png", L"file='x.png' dest='a'", L"='x.png'"}) {
        EXPECT_FALSE(ParseImageDesc(bad, d));
    }
}

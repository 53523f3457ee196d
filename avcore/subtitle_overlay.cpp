#include "avcore/subtitle_overlay.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace avcore {

namespace {

constexpr double kBottomMargin = 0.045;   // of the picture's height, below the last line
constexpr double kSideMargin = 0.05;      // of the picture's width, on each side
constexpr int kOutlineAlpha = 230;        // the dark edge lets a little of the picture through

struct DcDeleter { void operator()(HDC dc) const { if (dc) DeleteDC(dc); } };
struct GdiDeleter { void operator()(HGDIOBJ o) const { if (o) DeleteObject(o); } };
using UniqueDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;
using UniqueGdi = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, GdiDeleter>;

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// "微软雅黑" where the system has it, else a face that has Chinese glyphs.
const wchar_t* SubtitleFace()
{
    static const wchar_t* const face = [] {
        static const wchar_t* const kFaces[] = {L"微软雅黑", L"Microsoft YaHei", L"SimHei", L"WenQuanYi Micro Hei",
                                                L"Noto Sans CJK SC", L"SimSun", L"MS Shell Dlg"};
        UniqueDc dc(CreateCompatibleDC(nullptr));
        for (const wchar_t* name : kFaces) {
            LOGFONTW lf{};
            lf.lfCharSet = DEFAULT_CHARSET;
            lstrcpynW(lf.lfFaceName, name, LF_FACESIZE);
            bool found = false;
            EnumFontFamiliesExW(dc.get(), &lf, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
            if (found) return name;
        }
        return kFaces[0];
    }();
    return face;
}

// Grows a coverage mask by radius in each direction (max over a square), in two passes.
std::vector<uint8_t> Dilate(const std::vector<uint8_t>& mask, int w, int h, int radius)
{
    std::vector<uint8_t> rows(mask.size()), out(mask.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t m = 0;
            for (int k = std::max(0, x - radius); k <= std::min(w - 1, x + radius); ++k)
                m = std::max(m, mask[static_cast<size_t>(y) * w + k]);
            rows[static_cast<size_t>(y) * w + x] = m;
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t m = 0;
            for (int k = std::max(0, y - radius); k <= std::min(h - 1, y + radius); ++k)
                m = std::max(m, rows[static_cast<size_t>(k) * w + x]);
            out[static_cast<size_t>(y) * w + x] = m;
        }
    return out;
}

inline uint8_t Blend(uint8_t under, uint8_t over, int alpha)
{
    return static_cast<uint8_t>((under * (255 - alpha) + over * alpha + 127) / 255);
}

} // namespace

void SubtitleOverlay::setTrack(std::shared_ptr<const SubtitleTrack> track)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_track = std::move(track);
    m_delay = 0.0;
}

bool SubtitleOverlay::hasTrack() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_track != nullptr;
}

void SubtitleOverlay::setVisible(bool visible)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_visible = visible;
}

bool SubtitleOverlay::visible() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_visible;
}

void SubtitleOverlay::setDelay(double seconds)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_delay = seconds;
}

double SubtitleOverlay::delay() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_delay;
}

bool SubtitleOverlay::dueAt(double pts) const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_track && m_visible && !m_track->activeAt(pts - m_delay).empty();
}

void SubtitleOverlay::drawOnto(uint8_t* bgra, int width, int height, int stride, double pts)
{
    std::shared_ptr<const SubtitleTrack> track;
    std::vector<size_t> cues;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_track || !m_visible) return;
        track = m_track;
        cues = track->activeAt(pts - m_delay);
    }
    if (cues.empty() || width <= 0 || height <= 0) return;
    std::lock_guard<std::mutex> lock(m_imageLock);
    Image& im = m_image;
    if (im.track != track.get() || im.cues != cues || im.pictureWidth != width || im.pictureHeight != height) {
        im = Image{};
        im.track = track.get();
        im.cues = cues;
        im.pictureWidth = width;
        im.pictureHeight = height;
        render(im, *track);
    }
    const uint8_t r = (im.colour >> 16) & 0xFF, g = (im.colour >> 8) & 0xFF, b = im.colour & 0xFF;
    for (int y = 0; y < im.height; ++y) {
        uint8_t* row = bgra + static_cast<size_t>(im.top + y) * stride + static_cast<size_t>(im.left) * 4;
        const uint8_t* text = im.text.data() + static_cast<size_t>(y) * im.width;
        const uint8_t* edge = im.outline.data() + static_cast<size_t>(y) * im.width;
        for (int x = 0; x < im.width; ++x, row += 4) {
            if (!edge[x]) continue;
            const int dark = edge[x] * kOutlineAlpha / 255;
            for (int c = 0; c < 3; ++c) row[c] = Blend(row[c], 0, dark);
            if (text[x]) {
                row[0] = Blend(row[0], b, text[x]);
                row[1] = Blend(row[1], g, text[x]);
                row[2] = Blend(row[2], r, text[x]);
            }
        }
    }
}

// Draws the text white on black with GDI and keeps the grey levels as coverage; the
// outline is that coverage grown by a few pixels. The image is clipped to the picture.
void SubtitleOverlay::render(Image& im, const SubtitleTrack& track) const
{
    std::wstring text;
    bool bold = false, italic = false;
    uint32_t colour = 0;
    for (size_t i : im.cues) {
        const SubtitleCue& cue = track.cues[i];
        if (!text.empty()) text.push_back(L'\n');
        text += cue.text;
        bold = bold || cue.bold;
        italic = italic || cue.italic;
        if (!colour) colour = cue.colour;
    }
    im.colour = colour ? colour : track.colour;
    const int fontPx = std::clamp(static_cast<int>(track.sizeFraction * im.pictureHeight + 0.5), 6,
                                  std::max(6, im.pictureHeight / 4));
    const int radius = std::max(1, (fontPx + 8) / 16);
    UniqueDc dc(CreateCompatibleDC(nullptr));
    UniqueGdi font(CreateFontW(-fontPx, 0, 0, 0, bold ? FW_BOLD : FW_MEDIUM, italic, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH,
                               SubtitleFace()));
    if (!dc || !font) return;
    SelectObject(dc.get(), font.get());
    const int maxWidth = std::max(1, static_cast<int>(im.pictureWidth * (1.0 - 2 * kSideMargin)));
    const UINT flags = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;
    RECT box{0, 0, maxWidth, 0};
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &box, flags | DT_CALCRECT);
    const int bottom = im.pictureHeight - static_cast<int>(im.pictureHeight * kBottomMargin);
    const int w = std::min(im.pictureWidth, static_cast<int>(box.right) + 2 * radius);
    const int h = std::min(bottom, static_cast<int>(box.bottom) + 2 * radius);
    if (w <= 0 || h <= 0) return;

    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueGdi bitmap(CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return;
    SelectObject(dc.get(), bitmap.get());
    std::fill_n(static_cast<uint32_t*>(bits), static_cast<size_t>(w) * h, 0u);
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), RGB(255, 255, 255));
    RECT area{radius, radius, w - radius, h + 1000000};  // a text taller than the picture keeps its first lines
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &area, flags);
    GdiFlush();

    im.width = w;
    im.height = h;
    im.left = (im.pictureWidth - w) / 2;
    im.top = bottom - h;
    im.text.resize(static_cast<size_t>(w) * h);
    const auto* px = static_cast<const uint8_t*>(bits);
    for (size_t i = 0; i < im.text.size(); ++i) im.text[i] = px[i * 4 + 1];  // green: grey antialiasing
    im.outline = Dilate(im.text, w, h, radius);
}

} // namespace avcore

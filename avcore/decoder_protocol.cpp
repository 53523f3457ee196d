#include "avcore/decoder_protocol.h"

namespace avcore::decoder {

namespace {

constexpr int kRowAlign = 64;  // whole cache lines for the converter's rows
constexpr int kMaxSide = 16384;

} // namespace

std::wstring ControlName(const std::wstring& name) { return name + L"-control"; }
std::wstring CommandName(const std::wstring& name) { return name + L"-command"; }
std::wstring ReplyName(const std::wstring& name) { return name + L"-reply"; }

VideoFormat SlotFormat(const VideoFormat& decoded)
{
    VideoFormat slot = decoded;
    slot.codedWidth = slot.cropWidth = decoded.cropWidth;
    slot.codedHeight = slot.cropHeight = decoded.cropHeight;
    slot.cropX = slot.cropY = 0;
    slot.defaultStride = (decoded.cropWidth + kRowAlign - 1) / kRowAlign * kRowAlign;
    return slot;
}

PlaneGeometry SlotGeometry(const VideoFormat& slot)
{
    return {slot.defaultStride, slot.codedHeight};
}

size_t SlotBytes(const VideoFormat& slot)
{
    return PictureBytes(slot, slot.defaultStride, slot.codedHeight);
}

bool SlotFormatFits(const VideoFormat& s, size_t slotBytes)
{
    const bool layout = s.layout == avfx::PixelLayout::NV12 || s.layout == avfx::PixelLayout::I420;
    const bool matrix = s.matrix == avfx::ColorMatrix::BT601 || s.matrix == avfx::ColorMatrix::BT709;
    return layout && matrix && s.cropWidth > 0 && s.cropHeight > 0 && s.cropWidth <= kMaxSide &&
           s.cropHeight <= kMaxSide && s.codedWidth == s.cropWidth && s.codedHeight == s.cropHeight &&
           s.cropX == 0 && s.cropY == 0 && s.defaultStride >= s.cropWidth + (s.cropWidth & 1) &&
           s.defaultStride <= kMaxSide + kRowAlign && s.defaultStride % 2 == 0 && SlotBytes(s) <= slotBytes;
}

} // namespace avcore::decoder

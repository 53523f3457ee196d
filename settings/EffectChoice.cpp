// The settings window's arithmetic: combo items and stored records, and the resume fraction.
#include "settings/EffectChoice.h"

#include <cmath>
#include <cstdint>

namespace DuiLib {

namespace {

// Seconds truncated toward zero, kept as the low 32 bits of the 64-bit integer.
// Nullopt where the truncation has no meaning or the value is negative.
std::optional<float> WholeSeconds(double seconds) {
    // 2^63: the first value a 64-bit integer cannot hold.
    if (!std::isfinite(seconds) || seconds <= -1.0 || seconds >= 9223372036854775808.0)
        return std::nullopt;
    const int64_t whole = static_cast<int64_t>(seconds);
    return static_cast<float>(static_cast<uint32_t>(whole));
}

} // namespace

ComboSelections SelectionsFor(const EffectSettings& stored) {
    const int code = stored.effectCode;
    if (code < kColorTableBase)
        return {stored.shape, code, 0, 0};
    if (code < kTextureBase)
        return {stored.shape, 0, code - kColorTableBase, 0};
    return {stored.shape, 0, 0, code - kTextureBase};
}

std::optional<EffectSettings> ApplyChoice(const EffectSettings& current, int changed, int index) {
    if (index < 0)
        return std::nullopt;
    EffectSettings next = current;
    if (changed == kComboShape) {
        if (index == current.shape)
            return std::nullopt;
        next.shape = index;
        if (index > 0)
            next.effectCode = 0;
        return next;
    }
    int code;
    switch (changed) {
    case kComboEffect: code = index; break;
    case kComboColorTable: code = kColorTableBase + index; break;
    case kComboTexture: code = kTextureBase + index; break;
    default: return std::nullopt;
    }
    if (code == current.effectCode)
        return std::nullopt;
    next.effectCode = code;
    // Colour tables and textures start at 256, so even their "none" clears the shape.
    if (code > 0)
        next.shape = 0;
    return next;
}

std::optional<float> ResumeFraction(double position, double duration) {
    const std::optional<float> p = WholeSeconds(position);
    const std::optional<float> d = WholeSeconds(duration);
    // Under one second of duration the fraction would divide by zero.
    if (!p || !d || *d == 0.0f)
        return std::nullopt;
    const float f = *p / *d;
    return f > 1.0f ? 1.0f : f;
}

const wchar_t* ShapePreviewImage(int shape) {
    switch (shape) {
    case 1: return L"shp\\yuan.png";
    case 2: return L"shp\\shuidi.png";
    default: return L"";
    }
}

} // namespace DuiLib

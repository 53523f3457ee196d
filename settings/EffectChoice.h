#pragma once
// The arithmetic of the settings window, apart from its controls: which combo items
// show a stored record, what a changed combo makes of it, and where a reopened file
// resumes.
#include <optional>
#include "settings/EffectSettings.h"

namespace DuiLib {

// The combo the user changed last (CSystemInfoFrame::m_nChanged).
enum EffectCombo : int {
    kComboNone = 0,
    kComboShape = 1,
    kComboEffect = 2,       // LOMO colour grading: effectCode = index
    kComboColorTable = 3,   // effectCode = 256 + index
    kComboTexture = 4,      // effectCode = 512 + index
};

inline constexpr int kColorTableBase = 256;
inline constexpr int kTextureBase = 512;

// The item index each combo shows for a stored record; the families other than the
// one effectCode's band names show item 0.
struct ComboSelections {
    int shape;
    int effect;
    int colorTable;
    int texture;
};
ComboSelections SelectionsFor(const EffectSettings& stored);

// The record after choosing item `index` in combo `changed`: only that combo counts, and
// any shape but none clears the effect, any effect but LOMO none clears the shape.
// Nullopt when there is nothing to store: no combo, an unknown one, no item selected
// (a negative index), or a value equal to the stored one.
std::optional<EffectSettings> ApplyChoice(const EffectSettings& current, int changed, int index);

// Where a reopened file resumes: whole seconds of position over whole seconds of
// duration, within 0..1. Nullopt when there is no sound answer (a duration under one
// second, a negative or non-finite reading); the file then plays from its start.
std::optional<float> ResumeFraction(double position, double duration);

// The outline shown for a shape: a skin image, or "" for none and unknown shapes.
const wchar_t* ShapePreviewImage(int shape);

} // namespace DuiLib

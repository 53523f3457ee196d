#pragma once
// The hot / pushed / captured state of one clickable part: a button's face, a combo box,
// a slider's thumb, a scroll bar's arrows, thumb and rail. Every change says whether the
// bits moved, so the owner repaints only then.
#include "duilib/UIDefines.h"

namespace DuiLib {

class CPressState {
public:
    UINT Bits() const { return m_bits; }
    bool IsHot() const { return (m_bits & UISTATE_HOT) != 0; }
    bool IsPushed() const { return (m_bits & UISTATE_PUSHED) != 0; }
    bool IsCaptured() const { return (m_bits & UISTATE_CAPTURED) != 0; }

    bool Reset() { return Assign(0); }
    bool SetHot(bool bHot) { return Turn(UISTATE_HOT, bHot); }
    // Pushed without holding the mouse (an arrow that repeats, a combo box whose list is open).
    bool SetPushed(bool bPushed) { return Turn(UISTATE_PUSHED, bPushed); }
    // The left button went down on the part: it looks pushed and keeps the mouse.
    bool Press() { return Assign(m_bits | UISTATE_PUSHED | UISTATE_CAPTURED); }
    // While the button is held, the pushed look follows the pointer in and out.
    bool Track(bool bInside) { return IsCaptured() && SetPushed(bInside); }
    // The button went up or the capture went elsewhere.
    bool Release() { return Assign(m_bits & ~(UISTATE_PUSHED | UISTATE_CAPTURED)); }

private:
    bool Turn(UINT bit, bool on) { return Assign(on ? (m_bits | bit) : (m_bits & ~bit)); }
    bool Assign(UINT bits) {
        if (bits == m_bits) return false;
        m_bits = bits;
        return true;
    }

    UINT m_bits = 0;
};

} // namespace DuiLib

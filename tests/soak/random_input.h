#pragma once
// A seeded stream of user input: clicks, double-clicks, drags and keys, at points
// drawn from weighted areas of the screen and never inside a forbidden rectangle.
#include <windows.h>
#include <cstdint>
#include <random>
#include <vector>

namespace soak {

enum class InputKind { Click, DoubleClick, Drag, Key };
inline constexpr int kInputKinds = 4;
const char* KindName(InputKind kind);

struct Area {
    RECT rc;       // screen coordinates
    int weight;
};

struct Input {
    InputKind kind = InputKind::Click;
    POINT at{}, to{};   // to: where a drag ends
    int steps = 0;      // of a drag
    WORD key = 0;       // virtual key
};

class InputStream {
public:
    explicit InputStream(uint32_t seed) : m_engine(seed) {}

    // The next input over the areas; none of its points lies in a forbidden rectangle.
    Input Next(const std::vector<Area>& areas, const std::vector<RECT>& forbidden);
    // A pause of up to maxMs, the user's rhythm between inputs.
    DWORD Pause(DWORD maxMs) { return Below(maxMs + 1); }

private:
    uint32_t Below(uint32_t n) { return n ? static_cast<uint32_t>(m_engine() % n) : 0; }
    POINT PointIn(const RECT& rc);
    POINT Point(const std::vector<Area>& areas, const std::vector<RECT>& forbidden);
    WORD Key();

    std::mt19937 m_engine;
};

// Sends the input through the system's input queue.
void Send(const Input& input);

} // namespace soak

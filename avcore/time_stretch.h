#pragma once
// Changes the pace of sound without changing its pitch (WSOLA): windowed pieces of
// the input are laid at a fixed output spacing, each taken where it best continues
// the previous one, near where the speed says the input has got to. Plain C++ with
// no Windows header; owned and used by the audio thread only.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace avcore {

class TimeStretch {
public:
    static constexpr double kMinSpeed = 0.5;
    static constexpr double kMaxSpeed = 2.0;

    TimeStretch(int rate, int channels);

    void setSpeed(double speed);  // clamped to kMinSpeed..kMaxSpeed; applies from the next piece
    double speed() const { return m_speed; }
    void reset();                 // drops everything held; input counts from zero again

    void push(const int16_t* samples, size_t frames);  // interleaved
    void pushSilence(size_t frames);
    size_t pull(int16_t* out, size_t maxFrames);        // whatever is ready, at most maxFrames
    // The input frame (counted since reset, fractional) the next pulled frame comes from.
    double nextOutputSource() const;
    // Input frames held back before the output can follow them: the added latency.
    size_t latencyFrames() const { return static_cast<size_t>(2 * m_hop + m_search); }

private:
    bool makePiece();  // lays the next piece into the output; false until enough input is held
    size_t bestOffset(size_t nominal) const;
    size_t pushed() const { return m_inStart + m_in.size() / m_channels; }

    int m_channels;
    size_t m_hop;     // output spacing of the pieces, frames (half a piece)
    size_t m_search;  // how far either side of the nominal place a piece is looked for
    std::vector<float> m_window;  // one piece's fade: rising then falling, sums to one at half overlap
    double m_speed = 1.0;

    std::vector<float> m_in;   // held input, interleaved
    std::vector<float> m_mono; // the same, channels summed: what the search compares
    size_t m_inStart = 0;      // input index of m_in's first frame
    double m_nominal = 0.0;    // input index the next piece should come from
    size_t m_prevEnd = 0;      // input index after the previous piece's first half: its natural sequel
    bool m_havePrev = false;
    std::vector<float> m_tail;    // the previous piece's faded second half, awaiting the next piece
    std::vector<int16_t> m_ready; // finished output, interleaved
    size_t m_readyUsed = 0;       // frames of m_ready already pulled
    double m_readySource = 0.0;   // input index of m_ready's first frame
    double m_readyStep = 1.0;     // input frames per output frame within m_ready
};

} // namespace avcore

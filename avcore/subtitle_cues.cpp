#include "avcore/subtitle_cues.h"

#include <algorithm>

namespace avcore {

void SubtitleTrack::finish()
{
    std::stable_sort(cues.begin(), cues.end(),
                     [](const SubtitleCue& a, const SubtitleCue& b) { return a.start < b.start; });
    endsSoFar.resize(cues.size());
    double latest = 0.0;
    for (size_t i = 0; i < cues.size(); ++i) endsSoFar[i] = latest = std::max(latest, cues[i].end);
}

std::vector<size_t> SubtitleTrack::activeAt(double t) const
{
    std::vector<size_t> active;
    const auto after = std::upper_bound(cues.begin(), cues.end(), t,
                                        [](double v, const SubtitleCue& c) { return v < c.start; });
    // Walk back only while some earlier cue still lasts past t: overlaps cost their own count.
    for (size_t i = static_cast<size_t>(after - cues.begin()); i-- > 0 && endsSoFar[i] > t;)
        if (cues[i].end > t) active.push_back(i);
    std::reverse(active.begin(), active.end());
    return active;
}

} // namespace avcore

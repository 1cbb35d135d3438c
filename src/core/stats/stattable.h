// The counting engine every statistics page shares: bins of four-column sums, minima and maxima.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace zorv::stats {

// Every counted dive is split into these four columns, in this order.
enum class StatColumn {
    Total,
    FreshWater,
    SeaWater,
    Chamber, // neither water mark: a decompression-chamber run
};
inline constexpr int kColumnCount = 4;

// A minimum still at this value has seen nothing.
inline constexpr float kNoMinimum = 20000.0f;

struct StatBin {
    std::array<float, 4> sum {};
    std::array<float, 4> min { kNoMinimum, kNoMinimum, kNoMinimum, kNoMinimum };
    std::array<float, 4> max {};
    unsigned key = 0; // 0 marks a free bin
    unsigned used = 0;
    unsigned count = 0;
    unsigned countFresh = 0;
    unsigned countSea = 0;
    unsigned countChamber = 0;

    float operator[](StatColumn c) const { return sum[static_cast<std::size_t>(c)]; }
};

struct ValueSummary {
    float sum = 0.0f;
    float average = 0.0f;
    float min = kNoMinimum;
    float max = 0.0f;
    unsigned count = 0;

    void reset() { *this = ValueSummary {}; }
    void add(float value);
    // A divisor of 100 turns hundredths into the displayed unit; 0 keeps the values.
    void finish(float divisor);
};

// The smallest multiple of step not below value, never less than step.
int roundUpToStep(int value, int step);

// Which of a bin's sum (an average once averaged), min or max a category page shows.
enum class Aggregate {
    Average,
    Minimum,
    Maximum,
};

class StatTable {
public:
    void size(int binCount);
    void clear();
    // The sample's four sums and its used mark go into the bin with this key, or
    // the first free one; with no bin left the sample is dropped.
    void add(unsigned key, const StatBin &sample);
    // A copy with unseen minima as 0; an all-zero bin for an unknown key.
    StatBin get(unsigned key) const;
    const StatBin &total() const { return m_total; }
    int binCount() const { return static_cast<int>(m_bins.size()); }
    const std::vector<StatBin> &bins() const { return m_bins; }

    // Average per dive, in every bin and over all bins into the total.
    void averagePerBin();
    // Average of the used bins' sums (dives per year or month) into the total.
    void averageAcrossBins();
    // averagePerBin, then the scale from the largest aggregate over the bins.
    void finishCategory(Aggregate aggregate, int step);

    float scale = 0.0f;

private:
    StatBin *binFor(unsigned key);

    std::vector<StatBin> m_bins;
    StatBin m_total;
    // Keys are small (years, classes, month indices): a direct index of the bin
    // each key took saves the linear search on logbooks of 32,767 dives.
    std::vector<std::int32_t> m_slotOfKey;
    int m_freeBin = 0;
};

} // namespace zorv::stats

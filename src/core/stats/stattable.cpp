#include "stats/stattable.h"

#include <algorithm>
#include <cmath>

namespace zorv::stats {

void ValueSummary::add(float value)
{
    ++count;
    sum += value;
    if (value < min)
        min = value;
    if (value > max)
        max = value;
}

void ValueSummary::finish(float divisor)
{
    if (count != 0)
        average = sum / static_cast<float>(count);
    if (min == kNoMinimum)
        min = 0.0f;
    if (divisor != 0.0f) {
        sum /= divisor;
        average /= divisor;
        min /= divisor;
        max /= divisor;
    }
}

int roundUpToStep(int value, int step)
{
    if (step <= 0)
        return value;
    if (value < step)
        return step;
    const int rest = value % step;
    return rest == 0 ? value : value + (step - rest);
}

void StatTable::size(int binCount)
{
    m_bins.assign(static_cast<std::size_t>(std::max(binCount, 0)), StatBin {});
    clear();
}

void StatTable::clear()
{
    std::fill(m_bins.begin(), m_bins.end(), StatBin {});
    m_total = StatBin {};
    m_slotOfKey.clear();
    m_freeBin = 0;
}

StatBin *StatTable::binFor(unsigned key)
{
    if (key == 0)
        return m_freeBin < binCount() ? &m_bins[static_cast<std::size_t>(m_freeBin++)] : nullptr;
    if (key < m_slotOfKey.size() && m_slotOfKey[key] >= 0)
        return &m_bins[static_cast<std::size_t>(m_slotOfKey[key])];
    if (m_freeBin >= binCount())
        return nullptr;
    if (key >= m_slotOfKey.size())
        m_slotOfKey.resize(key + 1, -1);
    m_slotOfKey[key] = m_freeBin;
    return &m_bins[static_cast<std::size_t>(m_freeBin++)];
}

void StatTable::add(unsigned key, const StatBin &sample)
{
    StatBin *bin = binFor(key);
    if (!bin)
        return;
    for (std::size_t c = 0; c < 4; ++c)
        bin->sum[c] += sample.sum[c];
    bin->key = key;
    bin->used = sample.used;
    ++bin->count;
    for (std::size_t c = 0; c < 4; ++c) {
        const float v = sample.sum[c];
        if (v == 0.0f)
            continue;
        if (c == 1)
            ++bin->countFresh;
        else if (c == 2)
            ++bin->countSea;
        else if (c == 3)
            ++bin->countChamber;
        if (v < bin->min[c])
            bin->min[c] = v;
        if (v > bin->max[c])
            bin->max[c] = v;
    }
}

StatBin StatTable::get(unsigned key) const
{
    StatBin copy;
    bool found = false;
    if (key != 0 && key < m_slotOfKey.size() && m_slotOfKey[key] >= 0) {
        copy = m_bins[static_cast<std::size_t>(m_slotOfKey[key])];
        found = true;
    }
    if (!found) {
        StatBin empty;
        empty.min = {};
        return empty;
    }
    for (float &m : copy.min)
        if (m == kNoMinimum)
            m = 0.0f;
    return copy;
}

namespace {
    std::array<unsigned, 4> countsOf(const StatBin &bin)
    {
        return { bin.count, bin.countFresh, bin.countSea, bin.countChamber };
    }
} // namespace

void StatTable::averagePerBin()
{
    std::array<unsigned, 4> counts {};
    for (const StatBin &bin : m_bins) {
        if (!bin.used)
            continue;
        const auto binCounts = countsOf(bin);
        for (std::size_t c = 0; c < 4; ++c) {
            m_total.sum[c] += bin.sum[c];
            counts[c] += binCounts[c];
        }
    }
    for (std::size_t c = 0; c < 4; ++c)
        if (counts[c] != 0)
            m_total.sum[c] /= static_cast<float>(counts[c]);
    for (StatBin &bin : m_bins) {
        const auto binCounts = countsOf(bin);
        for (std::size_t c = 0; c < 4; ++c)
            if (binCounts[c] != 0)
                bin.sum[c] /= static_cast<float>(binCounts[c]);
    }
}

void StatTable::averageAcrossBins()
{
    unsigned usedBins = 0;
    for (const StatBin &bin : m_bins) {
        if (!bin.used)
            continue;
        ++usedBins;
        for (std::size_t c = 0; c < 4; ++c)
            m_total.sum[c] += bin.sum[c];
    }
    if (usedBins != 0)
        for (float &s : m_total.sum)
            s /= static_cast<float>(usedBins);
}

void StatTable::finishCategory(Aggregate aggregate, int step)
{
    averagePerBin();
    float largest = 0.0f;
    for (const StatBin &bin : m_bins) {
        const auto &values = aggregate == Aggregate::Average ? bin.sum
            : aggregate == Aggregate::Minimum                ? bin.min
                                                             : bin.max;
        for (float v : values)
            if (v != kNoMinimum)
                largest = std::max(largest, v);
    }
    scale = static_cast<float>(roundUpToStep(static_cast<int>(std::trunc(largest)) + 1, step));
}

} // namespace zorv::stats

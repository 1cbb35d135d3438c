#include "logbook/profiledecoder.h"

#include "logbook/logbook.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace zorv::logbook {

/*
 * Sample stream in profileBytes, from index 5 (6 for O2 computers; the bytes before
 * are the computer's own preamble):
 *
 *   group := sample sample sample extra [spare, O2 computers only]
 *   sample := hi lo      depth = (hi * 4 + lo >> 6) * 0.15625 m, lo & 0x3F = warning bits
 *   extra: bits 0-2 level C / 6, bit 3 increment of level A / 6, bits 4-6 workload B / 3
 *
 * The levels arrive once per group, at its third sample; the two samples before it
 * are filled in as ramps from the previous group so that the replay moves smoothly.
 */

namespace {

    constexpr float kDepthQuantum = 0.15625f;
    constexpr float kFirstSampleDepth = 1.3f;
    // The thirds and sixths are single-precision constants, slightly above 1/3 and 1/6,
    // applied in double: 6 - 3 * third then truncates to 4, not 5, as the computers show.
    constexpr double kThird = static_cast<double>(0.33333334f);
    constexpr double kSixth = static_cast<double>(0.16666667f);

    enum Marker {
        kWarnings = 0,
        kLevelA = 1,
        kWorkload = 2,
        kLevelC = 3,
    };

    class StreamView {
    public:
        explicit StreamView(const DiveRecord &record)
            : m_bytes(record.profileBytes)
        {
        }
        // The loop bound lets the decoder run a little past the stored bytes; those
        // positions, like any past the buffer, read as 0.
        std::uint8_t at(int position) const
        {
            if (position < 0 || position >= static_cast<int>(m_bytes.size()))
                return 0;
            return m_bytes[static_cast<std::size_t>(position)];
        }

    private:
        const ByteArray &m_bytes;
    };

    std::uint8_t level(int value)
    {
        return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
    }

    void setMarker(DiveRecord &record, int sample, Marker marker, int value)
    {
        record.samples[static_cast<std::size_t>(sample)].markers[marker] = level(value);
    }

    int markerAt(const DiveRecord &record, int sample, Marker marker)
    {
        return record.samples[static_cast<std::size_t>(sample)].markers[marker];
    }

    void rampWorkload(DiveRecord &record, int k, int b)
    {
        const int p = markerAt(record, k - 3, kWorkload);
        if (b == p) {
            setMarker(record, k - 2, kWorkload, b);
            setMarker(record, k - 1, kWorkload, b);
            return;
        }
        const double s = std::abs(b - p) * kThird;
        const double sign = b > p ? 1.0 : -1.0;
        setMarker(record, k - 2, kWorkload, static_cast<int>(std::trunc(p + sign * s)));
        setMarker(record, k - 1, kWorkload, static_cast<int>(std::trunc(p + sign * 2.0 * s)));
    }

    // Returns the level A reached at sample k, or -1 when the group did not raise it.
    int rampLevelA(DiveRecord &record, int k, int a)
    {
        const int q = markerAt(record, k - 3, kLevelA);
        if (a == 0) {
            if (q != 0)
                for (int i = k - 2; i <= k; ++i)
                    setMarker(record, i, kLevelA, q);
            return -1;
        }
        setMarker(record, k, kLevelA, q + a);
        if (q != 0) {
            setMarker(record, k - 2, kLevelA, q + static_cast<int>(std::trunc(a * kThird)));
            setMarker(record, k - 1, kLevelA, q + static_cast<int>(std::trunc(a * kThird + 2)));
        } else {
            for (int i = 0; i < 5; ++i)
                setMarker(record, k - 5 + i, kLevelA, static_cast<int>(std::trunc(a * kSixth + i)));
        }
        return markerAt(record, k, kLevelA);
    }

    void rampLevelC(DiveRecord &record, int k, int c)
    {
        const int r = markerAt(record, k - 3, kLevelC);
        if (r == 0) {
            for (int i = 1; i <= 5; ++i)
                setMarker(record, k - 6 + i, kLevelC, static_cast<int>(std::trunc(i * c * kSixth)));
        } else if (r == c) {
            setMarker(record, k - 2, kLevelC, c);
            setMarker(record, k - 1, kLevelC, c);
        } else {
            const double t = (c - r) * kThird;
            setMarker(record, k - 2, kLevelC, r + static_cast<int>(std::trunc(t)));
            setMarker(record, k - 1, kLevelC, r + static_cast<int>(std::trunc(2.0 * t)));
        }
    }

} // namespace

void decodeProfile(DiveRecord &record, bool o2)
{
    const StreamView stream(record);
    // Room for as many samples as the stream can hold, cut to the decoded count at the
    // end. Each sample is written whole when it is reached, so levels of an earlier
    // decoding cannot leak into the ramps, which only look back.
    const int lastPosition = static_cast<int>(record.profileLength) - 15;
    const int groupBytes = o2 ? 8 : 7;
    const int most = std::min(1 + 3 * (std::max(lastPosition, 0) / groupBytes + 1), kMaxSamples);
    record.samples.assign(static_cast<std::size_t>(most), ProfileSample {});
    record.samples[0] = ProfileSample { -kFirstSampleDepth, {} };
    record.sampleCount = 1;
    record.profileMaxDepth = 0.0f;

    float depthSum = 0.0f;
    int nonZero = 0;
    int lastA = 0;
    int lastC = 0;
    int group = 0;
    int phase = 0;
    int position = o2 ? 6 : 5;
    const int groupTail = o2 ? 2 : 1;

    while (position <= lastPosition && record.sampleCount < kMaxSamples) {
        const int k = record.sampleCount;
        const std::uint8_t hi = stream.at(position);
        const std::uint8_t lo = stream.at(position + 1);
        const float d = static_cast<float>(hi * 4 + (lo >> 6)) * kDepthQuantum;
        record.samples[static_cast<std::size_t>(k)] = ProfileSample { -d, { static_cast<std::uint8_t>(lo & 0x3F) } };
        ++record.sampleCount;
        if (d != 0.0f)
            ++nonZero;
        record.profileMaxDepth = std::max(record.profileMaxDepth, d);
        depthSum += d;

        if (phase == 2) {
            const std::uint8_t extra = stream.at(position + 2);
            const int c = (extra & 0x07) * 6;
            const int a = ((extra >> 3) & 0x01) * 6;
            const int b = ((extra >> 4) & 0x07) * 3;
            ++group;
            if (c != 0)
                lastC = c;
            setMarker(record, k, kLevelC, c);
            setMarker(record, k, kWorkload, b);
            if (group == 1) {
                for (int i : { 0, k - 2, k - 1 }) {
                    if (b != 0)
                        setMarker(record, i, kWorkload, b);
                    if (c != 0)
                        setMarker(record, i, kLevelC, c);
                }
                if (a != 0) {
                    for (int i : { 0, k - 2, k - 1, k })
                        setMarker(record, i, kLevelA, a);
                    // Level A only grows; without this a profile whose only rise
                    // came in the first group would end at level 0.
                    lastA = a;
                }
            } else {
                rampWorkload(record, k, b);
                if (const int reached = rampLevelA(record, k, a); reached >= 0)
                    lastA = reached;
                if (c != 0)
                    rampLevelC(record, k, c);
            }
        }

        position += 2;
        if (++phase == 3) {
            phase = 0;
            position += groupTail;
        }
    }

    // The samples after the last complete group had no levels of their own.
    const int count = record.sampleCount;
    for (int i = std::max(0, count - 3); i < count; ++i) {
        setMarker(record, i, kLevelA, lastA);
        setMarker(record, i, kLevelC, lastC);
    }
    record.samples.resize(static_cast<std::size_t>(count));

    record.profileAvgDepth = static_cast<float>((static_cast<double>(depthSum) + 1.3) / (count + 1));
    Logbook::computeAirConsumption(record);
}

} // namespace zorv::logbook

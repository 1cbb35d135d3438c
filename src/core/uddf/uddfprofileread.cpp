#include "logbook/profileencoder.h"
#include "uddf/uddfreader.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zorv::uddf {

namespace uddfreading {

    void Reader::readProfile(xmlNodePtr samples, PendingDive &p, int index, bool hasDepth, bool hasDuration,
        bool hasTemperature, bool hasPressure)
    {
        struct Point {
            double time;
            double depth;
            std::uint8_t warnings;
        };
        std::vector<Point> points;
        std::optional<double> coldest;
        std::optional<double> firstPressure;
        std::optional<double> lastPressure;
        double lastTime = 0.0;
        forChildren(samples, [&](xmlNodePtr w) {
            if (!is(w, "waypoint"))
                return;
            std::optional<double> time;
            std::optional<double> depth;
            std::uint8_t warnings = 0;
            forChildren(w, [&](xmlNodePtr c) {
                if (is(c, "divetime"))
                    time = number(c, index);
                else if (is(c, "depth"))
                    depth = number(c, index);
                else if (is(c, "temperature")) {
                    if (auto v = number(c, index)) {
                        const double celsius = *v < 150.0 ? *v : *v - kKelvin;
                        coldest = coldest ? std::min(*coldest, celsius) : celsius;
                    }
                } else if (is(c, "tankpressure")) {
                    if (auto v = number(c, index)) {
                        if (!firstPressure)
                            firstPressure = *v;
                        lastPressure = *v;
                    }
                } else if (is(c, "alarm")) {
                    const std::string alarm = content(c);
                    warnings |= alarm == "deco"   ? 0x01
                        : alarm == "rbt"          ? 0x02
                        : alarm == "ascent"       ? 0x04
                        : alarm == "microbubbles" ? 0x10
                                                  : 0;
                }
            });
            if (time)
                lastTime = std::max(lastTime, *time);
            if (time && depth && *time >= 0 && *time < 1e6 && *depth >= 0 && *depth < 1000)
                points.push_back({ *time, *depth, warnings });
        });
        DiveRecord &r = p.record;
        if (!hasTemperature && coldest)
            r.minWaterTemperature = field(*coldest * 100.0);
        if (!hasPressure && firstPressure && r.extra.tankPressure == kMissing) {
            auto bar = [](double v) { return v < 1000.0 ? v : v / 1e5; };
            r.extra.tankPressure = field(bar(*firstPressure) * 100.0);
            r.airUsed = field((bar(*firstPressure) - bar(*lastPressure)) * 100.0);
        }
        if (points.empty())
            return;
        std::stable_sort(points.begin(), points.end(), [](const Point &a, const Point &b) { return a.time < b.time; });
        const auto deepest = std::max_element(
            points.begin(), points.end(), [](const Point &a, const Point &b) { return a.depth < b.depth; });
        if (!hasDepth)
            r.maxDepth = field(deepest->depth * 100.0);
        if (!hasDuration)
            r.duration = field(std::max(lastTime, points.back().time) / 60.0);

        // Resampled every 20 s from the first sample on, then the deepest point put into
        // the slot nearest to it, so a short deep spike between two slots is not lost.
        const double end = points.back().time;
        std::size_t slots = static_cast<std::size_t>(end / logbook::kSampleSeconds);
        if (slots > kMaxProfilePoints) {
            note(common::cformat(common::tr("Plongée %d : profil trop long, coupé à %d points."),
                static_cast<int>(index), static_cast<int>(logbook::kMaxSamples)));
            slots = kMaxProfilePoints;
        }
        logbook::ProfileScript script;
        script.depths.resize(slots);
        script.warnings.resize(slots);
        std::size_t at = 0;
        for (std::size_t k = 0; k < slots; ++k) {
            const double t = static_cast<double>(k + 1) * logbook::kSampleSeconds;
            while (at + 1 < points.size() && points[at + 1].time <= t)
                ++at;
            const Point &a = points[at];
            double depth = a.depth;
            if (at + 1 < points.size() && points[at + 1].time > a.time)
                depth += (points[at + 1].depth - a.depth) * (t - a.time) / (points[at + 1].time - a.time);
            script.depths[k] = static_cast<float>(depth);
        }
        for (const Point &point : points) {
            if (point.warnings == 0)
                continue;
            const auto k = static_cast<std::size_t>(std::lround(point.time / logbook::kSampleSeconds));
            if (k >= 1 && k <= slots)
                script.warnings[k - 1] |= point.warnings;
        }
        if (const auto k = static_cast<std::size_t>(std::lround(deepest->time / logbook::kSampleSeconds));
            k >= 1 && k <= slots)
            script.depths[k - 1] = std::max(script.depths[k - 1], static_cast<float>(deepest->depth));
        if (!script.depths.empty())
            logbook::encodeProfile(r, script, logbook::ProfileFamily::Plain);
    }

} // namespace uddfreading

} // namespace zorv::uddf

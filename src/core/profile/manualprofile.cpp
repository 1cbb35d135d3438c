#include "profile/manualprofile.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "logbook/units.h"
#include "profile/breathing.h"
#include "profile/depthaxisscale.h"
#include "profile/profilewindowlayout.h"

#include <algorithm>
#include <cmath>

namespace zorv::profile {

using common::StringId;

using logbook::DiveRecord;
using logbook::kMaxSamples;
using logbook::kMissing;

namespace {

    constexpr double kStartDepth = 1.3;
    constexpr double kStepPerPoint = 3.33; // 10 m a minute
    constexpr std::uint8_t kStartWorkload = 3;
    constexpr std::uint8_t kDrawnWorkload = 6;

    double maxDepthMetres(const DiveRecord &dive)
    {
        if (dive.maxDepth == kMissing || dive.maxDepth < 0)
            return std::max(0.0, static_cast<double>(dive.profileMaxDepth));
        return dive.maxDepth * 0.01;
    }

    enum class Phase {
        Descending,
        Bottom,
        Ascending,
    };

} // namespace

int manualProfileMinutes(const DiveRecord &dive)
{
    if (dive.duration == kMissing)
        return 0;
    return std::clamp<int>(dive.duration, 0, kManualProfileMaxMinutes);
}

bool manualProfileLimited(const DiveRecord &dive)
{
    return dive.duration != kMissing && dive.duration > kManualProfileMaxMinutes;
}

void generateManualProfile(DiveRecord &dive)
{
    const double bottom = maxDepthMetres(dive);
    const int n = (manualProfileMinutes(dive) + 1) * 3;
    std::array<float, kMaxSamples> work {};
    double running = kStartDepth;
    Phase phase = Phase::Descending;
    int end = n - 1;
    for (int i = 0; i < n; ++i) {
        // Every point of the descent moves the start of the ascent one point earlier, so the ascent takes as long.
        if (i < end) {
            if (phase == Phase::Descending) {
                running += kStepPerPoint;
                --end;
            } else if (phase == Phase::Ascending) {
                running -= kStepPerPoint;
            }
        }
        if (i >= end) {
            running -= kStepPerPoint;
            phase = Phase::Ascending;
        }
        double stored = running;
        if (phase == Phase::Descending && stored >= bottom) {
            stored = running = bottom;
            phase = Phase::Bottom;
        }
        if (phase == Phase::Ascending && stored <= 0) {
            work[static_cast<std::size_t>(i)] = 0.0f;
            break;
        }
        work[static_cast<std::size_t>(i)] = static_cast<float>(stored);
    }

    // The points past the last one drawn are at the surface, as points past the end read.
    dive.sampleCount = static_cast<std::uint16_t>(n);
    dive.samples.resize(static_cast<std::size_t>(std::min(n + 1, kMaxSamples)));
    dive.samples[0] = logbook::ProfileSample { static_cast<float>(-kStartDepth), { 0, 0, kStartWorkload, 0 } };
    for (std::size_t i = 1; i < dive.samples.size(); ++i)
        dive.samples[i] = logbook::ProfileSample { -work[i - 1], { 0, 0, kDrawnWorkload, 0 } };
    dive.profileMaxDepth = static_cast<float>(bottom);
    updateManualAverages(dive);
    dive.avgDepth = 0.0f;
}

void updateManualAverages(DiveRecord &dive)
{
    const std::span<const logbook::ProfileSample> samples = logbook::profileSamples(dive);
    const int count = static_cast<int>(samples.size());
    if (count == 0)
        return;
    float sum = 0.0f;
    for (const logbook::ProfileSample &sample : samples)
        sum += sample.depth;
    const double average = std::trunc(static_cast<double>(sum) / count);
    dive.profileAvgDepth = static_cast<float>(-average);
    const double minutes = count * static_cast<double>(0.33333334f) - 0.33;
    if (dive.tankVolume != kMissing && dive.airUsed != kMissing && minutes != 0) {
        const double litres = dive.tankVolume * 0.01 * dive.airUsed * 0.01;
        dive.airConsumption = static_cast<float>(litres / (-average * 0.1 + 1) / minutes);
    }
}

ManualAxis manualAxis(const DiveRecord &dive, logbook::UnitSystem units)
{
    double deepest = dive.profileMaxDepth;
    if (units == logbook::UnitSystem::Imperial)
        deepest = logbook::metresToFeet(deepest);
    const int whole = std::isfinite(deepest) ? static_cast<int>(std::clamp(deepest, 0.0, 100000.0)) : 0;
    const int step = depthAxisScale(whole, units).step;
    return { whole + step, step };
}

namespace {

    // One sample of the drawing, without the averages that the caller recomputes once.
    bool setManualSample(
        DiveRecord &dive, int cursor, double localY, int plotHeight, const ManualAxis &axis, logbook::UnitSystem units)
    {
        if (axis.maximum <= 0 || cursor < 0 || cursor >= kMaxSamples)
            return false;
        const double perUnit = static_cast<double>(plotHeight) / axis.maximum;
        if (perUnit == 0)
            return false;
        const bool imperial = units == logbook::UnitSystem::Imperial;
        double limit = maxDepthMetres(dive);
        if (imperial)
            limit = logbook::metresToFeet(limit);
        double depth = std::clamp(localY / perUnit, 0.0, limit);
        if (imperial)
            depth = logbook::feetToMetres(depth);
        // The editor may draw the point one past the samples: it goes into the stored bytes.
        if (static_cast<std::size_t>(cursor) >= dive.samples.size())
            dive.samples.resize(static_cast<std::size_t>(cursor) + 1);
        dive.samples[static_cast<std::size_t>(cursor)].depth = static_cast<float>(-depth);
        return true;
    }

} // namespace

bool drawManualSample(
    DiveRecord &dive, int cursor, int localY, int plotHeight, const ManualAxis &axis, logbook::UnitSystem units)
{
    if (!setManualSample(dive, cursor, localY, plotHeight, axis, units))
        return false;
    updateManualAverages(dive);
    dive.avgDepth = 0.0f;
    return true;
}

bool drawManualStroke(DiveRecord &dive, ManualPoint from, ManualPoint to, int plotHeight, const ManualAxis &axis,
    logbook::UnitSystem units)
{
    const int steps = std::abs(to.cursor - from.cursor);
    bool drawn = false;
    for (int i = 0; i <= steps; ++i) {
        const int cursor = from.cursor + (to.cursor >= from.cursor ? i : -i);
        const double t = steps == 0 ? 1.0 : static_cast<double>(i) / steps;
        const double y = from.localY + t * (to.localY - from.localY);
        drawn = setManualSample(dive, cursor, y, plotHeight, axis, units) || drawn;
    }
    if (!drawn)
        return false;
    updateManualAverages(dive);
    dive.avgDepth = 0.0f;
    return true;
}

DepthCode manualDepthCode(double metres)
{
    const int v = std::isfinite(metres) ? static_cast<int>(std::clamp(metres * 6.4, 0.0, 1023.0)) : 0;
    // Every code of a drawn block carries 0x20, the mark a computer never sets there.
    std::uint8_t low = 0x20;
    if (v & 1)
        low |= 0x40;
    if (v & 2)
        low |= 0x80;
    return { static_cast<std::uint8_t>((v >> 2) & 0xFF), low };
}

void storeManualProfile(DiveRecord &dive)
{
    // Samples 1 ... are the points of the drawing; sample 0 is the fixed start at 1.3 m.
    std::array<float, kMaxSamples> work {};
    for (std::size_t i = 1; i < std::min<std::size_t>(dive.samples.size(), kMaxSamples); ++i)
        work[i - 1] = -dive.samples[i].depth;

    const int minutes = manualProfileMinutes(dive);
    dive.profileFirstByte = 0;
    for (std::size_t i = 0; i < dive.profileHeader.size(); ++i)
        dive.profileHeader[i] = static_cast<std::uint16_t>(logbook::kHandProfileHeaderBase + i);
    auto &bytes = dive.profileBytes;
    bytes.assign(5, 0);
    bytes[3] = 0x40;
    bytes[4] = 0x90;
    // One group more than the length below counts: readers that follow the length never reach it.
    for (int group = 0; group <= minutes + 2 && bytes.size() + 7 <= std::size_t { logbook::kProfileBytesCapacity };
         ++group) {
        for (int k = 0; k < 3; ++k) {
            const int point = 3 * group + k;
            const DepthCode code = manualDepthCode(point < kMaxSamples ? work[static_cast<std::size_t>(point)] : 0.0);
            bytes.push_back(code.high);
            bytes.push_back(code.low);
        }
        bytes.push_back(0x20);
    }
    logbook::trimProfileBytes(dive);
    dive.profileLength = static_cast<std::uint16_t>(7 * (minutes + 2) + 17);
    if (dive.altitudeClass == 0)
        dive.altitudeClass = 1;
}

void eraseManualProfile(DiveRecord &dive)
{
    dive.profileLength = 0;
    dive.samples.clear();
    dive.sampleCount = 0;
}

namespace {

    ProfilePlot manualPlot(canvas::Size size, const DiveRecord &dive, const ManualAxis &axis,
        const settings::ProfileColours &colours, logbook::UnitSystem units)
    {
        const PlotArea area = graphPlotArea(size);
        ProfilePlot plot(colours[settings::ProfileColour::Lines], colours[settings::ProfileColour::Text], area.left,
            area.top, area.width, area.height, units);
        plot.setRanges(0, std::min<int>(dive.sampleCount, kMaxSamples), 0, axis.maximum);
        plot.setYStep(axis.step);
        return plot;
    }

    // The gauges read a drawn dive like an entered one, but with the samples' own workload and a full 200 bar tank.
    DiveRecord gaugeView(const DiveRecord &dive)
    {
        DiveRecord view = dive;
        view.profileLength = std::max<std::uint16_t>(view.profileLength, 1);
        view.extra.tankPressure = kMissing;
        view.diveType &= static_cast<std::uint16_t>(~logbook::dive_type::kScr);
        return view;
    }

} // namespace

void drawManualGraph(canvas::Canvas &canvas, canvas::Size size, const DiveRecord &dive, const ManualAxis &axis,
    const ManualGraphStyle &style)
{
    const auto &colours = style.colours;
    canvas.fillRect(canvas::Rect { 0, 0, size.width, size.height }, colours[settings::ProfileColour::Background]);
    const ProfilePlot plot = manualPlot(size, dive, axis, colours, style.units);
    const int samples = std::min<int>(dive.sampleCount, kMaxSamples);
    plot.drawAxes(canvas, samples + 1, style.grid);
    plot.drawProfile(canvas, colours[settings::ProfileColour::Profile], colours[settings::ProfileColour::Warnings], 3,
        logbook::profileSamples(dive), samples + 1);
    if (style.secondProfile && !style.secondProfile->isEmpty()) {
        const ProfileClipboard &second = *style.secondProfile;
        plot.drawClipProfile(canvas, colours[settings::ProfileColour::ClipProfile],
            colours[settings::ProfileColour::Warnings], 2, second.depths(), second.markers(), second.count());
    }
}

void drawManualCursorLines(canvas::Canvas &canvas, canvas::Size size, const DiveRecord &dive, const ManualAxis &axis,
    logbook::UnitSystem units, int cursor, bool crosshair)
{
    if (cursor == 0)
        return;
    const ProfilePlot plot = manualPlot(size, dive, axis, settings::kDefaultProfileColours, units);
    const int at = clampCursor(dive, cursor);
    const canvas::Point point = plot.map(at, plotDepth(sampleAtCursor(dive, at).depth, units));
    const int bottom = plot.top() + plot.height();
    canvas.setRasterMode(canvas::RasterMode::Invert);
    canvas.setPen(canvas::Pen { canvas::rgb(0, 0, 0), 1, canvas::PenStyle::Solid });
    canvas.drawLine({ point.x, bottom }, { point.x, plot.top() });
    if (crosshair)
        canvas.drawLine(
            { plot.left(), std::min(point.y, bottom) }, { plot.left() + plot.width(), std::min(point.y, bottom) });
    canvas.setRasterMode(canvas::RasterMode::Copy);
}

GaugeValues manualGaugeValues(const DiveRecord &dive, int cursor, logbook::UnitSystem units)
{
    if (dive.sampleCount == 0)
        return {};
    GaugeValues values = gaugeValuesAt(gaugeView(dive), cursor, units, ComputerTraits {});
    const double deepest = dive.profileMaxDepth;
    values.maxDepth = units == logbook::UnitSystem::Metric ? deepest : logbook::metresToFeet(deepest);
    return values;
}

ManualReadout manualReadout(const DiveRecord &dive, int cursor, logbook::UnitSystem units)
{
    const bool metric = units == logbook::UnitSystem::Metric;
    auto display = [metric](double metres) { return metric ? metres : logbook::metresToFeet(metres); };
    ManualReadout out;
    const double average = dive.avgDepth > 0 ? dive.avgDepth : dive.profileAvgDepth;
    out.avgDepth = common::cformat(metric ? "%.1f" : "%.0f", display(average));
    if (dive.airConsumption != 0.0f)
        out.breathingRate = metric ? common::cformat("%.1f", static_cast<double>(dive.airConsumption))
                                   : common::cformat("%.2f", logbook::litresPerMinuteToCubicFeet(dive.airConsumption));
    if (dive.sampleCount == 0)
        return out;
    const int at = clampCursor(dive, cursor);
    out.elapsed = common::cformat("%d:", at / 3);
    out.depth = common::cformat(
        metric ? "%.1f" : "%.0f", display(std::fabs(static_cast<double>(sampleAtCursor(dive, at).depth))));
    const double bar = remainingPressure(gaugeView(dive), at, ComputerTraits {});
    if (bar >= 0)
        out.pressure = metric ? common::cformat("%.0f %s", bar, std::string(common::str(StringId::UnitBar)).c_str())
                              : common::cformat("%.0f %s", static_cast<double>(logbook::barToPsi(bar)),
                                  std::string(common::str(StringId::UnitPsi)).c_str());
    return out;
}

} // namespace zorv::profile

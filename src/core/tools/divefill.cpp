#include "tools/divefill.h"

#include "common/strings.h"
#include "common/translation.h"

namespace zorv::tools {

using common::StringId;

using logbook::DiveRecord;
using logbook::kMissing;
using logbook::Logbook;

namespace {
    constexpr std::size_t kModelCapacity = logbook::kModelLength; // a whole model ends at the buffer's last byte
    constexpr int kMaxDives = logbook::Logbook::kMaxDives;

    template <typename T> bool setIf(bool wanted, T &field, T value)
    {
        if (!wanted || field == value)
            return false;
        field = value;
        return true;
    }

    template <std::size_t N> bool setTextIf(std::array<char, N> &field, const std::string &text, std::size_t capacity)
    {
        if (text.empty())
            return false;
        std::array<char, N> next {};
        logbook::setFixedText(next, text, capacity);
        if (next == field)
            return false;
        field = next;
        return true;
    }

    bool addBits(std::uint16_t &field, std::uint16_t bits)
    {
        return setIf(bits != 0, field, static_cast<std::uint16_t>(field | bits));
    }

} // namespace

void FillTemplate::resetAdvancedFields()
{
    secondActivityBits = 0;
    weights = kMissing;
    tankMaterial = 0;
    model.clear();
}

ToolResult fillDives(Logbook &logbook, const FillTemplate &fill)
{
    if (fill.firstNumber == 0 || fill.lastNumber == 0)
        return common::Result::failure(common::Status::Refused, std::string(common::str(StringId::EditDiveTitle)));
    ToolChange change;
    change.positions = logbook.editDives(1, logbook.diveCount(), [&fill](int, DiveRecord &d) {
        if (d.diveNumber < fill.firstNumber || d.diveNumber > fill.lastNumber)
            return false;
        // Each setter must run, so no short-circuit between them.
        int changed = 0;
        changed += setTextIf(d.place, fill.place, logbook::kPlaceLength);
        changed += setTextIf(d.site, fill.site, logbook::kSiteLength);
        changed += setIf(fill.weather != 0, d.weather, fill.weather);
        changed += setIf(fill.suit != 0, d.suit, fill.suit);
        changed += setIf(fill.airTemperature != kMissing, d.airTemperature, fill.airTemperature);
        changed += setIf(fill.tankVolume != kMissing, d.tankVolume, fill.tankVolume);
        changed += addBits(d.diveType, fill.diveTypeBits);
        changed += addBits(d.activities, fill.activityBits);
        changed += setIf(fill.weights != kMissing, d.extra.weights, fill.weights);
        changed += setIf(fill.tankMaterial != 0, d.extra.tankMaterial, fill.tankMaterial);
        changed += setTextIf(d.extra.model, fill.model, kModelCapacity);
        changed += addBits(d.extra.extraFlags, fill.secondActivityBits);
        return changed > 0;
    });
    change.changed = static_cast<int>(change.positions.size());
    return change;
}

bool SingleDiveBuffer::copyFrom(const Logbook &logbook, int position)
{
    const DiveRecord *d = logbook.dive(position);
    m_filled = d != nullptr;
    if (d)
        m_record = *d;
    return m_filled;
}

common::Result MultiDiveBuffer::copyFrom(const Logbook &logbook, int firstNumber, int lastNumber)
{
    const int n = logbook.diveCount();
    if (n == 0 || firstNumber < logbook.diveNumberAt(1) || lastNumber > logbook.diveNumberAt(n))
        return common::Result::failure(
            common::Status::Refused, std::string(common::str(StringId::DiveNumberOutOfRange)));
    m_dives.clear();
    const long long capacity = static_cast<long long>(lastNumber) - firstNumber + 1;
    if (capacity < 1)
        return common::Result::success();
    for (const DiveRecord &d : logbook.dives()) {
        if (static_cast<long long>(m_dives.size()) >= capacity)
            break;
        if (d.diveNumber >= firstNumber && d.diveNumber <= lastNumber)
            m_dives.push_back(d);
    }
    return common::Result::success();
}

ToolResult MultiDiveBuffer::pasteInto(Logbook &logbook)
{
    // All or nothing: a paste cut off half way would leave the user guessing which dives came in.
    if (logbook.diveCount() + count() > kMaxDives)
        return common::Result::failure(
            common::Status::Refused, common::tr("Un carnet contient au plus 32767 plongées."));
    ToolChange change;
    for (const DiveRecord &d : m_dives) {
        if (!logbook.insertDive(d))
            break;
        ++change.changed;
    }
    m_dives.clear();
    return change;
}

} // namespace zorv::tools

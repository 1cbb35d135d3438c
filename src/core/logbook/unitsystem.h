// Metric or imperial display of the values, which are always stored metric.
#pragma once

namespace zorv::logbook {

enum class UnitSystem {
    Metric,
    Imperial,
};

} // namespace zorv::logbook

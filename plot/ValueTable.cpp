#include "ValueTable.h"

#include "ExpCompute.h"
#include "PlotFunction.h"

std::vector<ValueRow> TableOfValues(PlotFunction& function, std::span<const AxisTick> ticks) {
    std::vector<ValueRow> rows;
    rows.reserve(ticks.size());
    for (const AxisTick& tick : ticks) {
        ValueRow row{tick.value, tick.label, std::nullopt, {}, std::nullopt};
        try {
            row.y = function.Compute(tick.value);
            row.yText = FormatResult(*row.y);
        } catch (const ExpException& error) {
            row.error = error;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

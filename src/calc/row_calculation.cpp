#include "calc/row_calculation.h"

namespace qarv {

RowResults calculateRow(const RowInput& input) {
    // Each part is made in its place in the result, without copies.
    RowResults r{
        .oxySampleName = input.oxySampleName,
        .oxy = recalculateOxyspinel(input.oxides),
        .oxyName = {},
        .thioInput = input.thio,
        .thio = recalculateThiospinel(input.thio),
        .thioName = {},
        .selenoInput = input.seleno,
        .seleno = recalculateSelenospinel(input.seleno),
        .selenoName = {},
    };
    r.oxyName = classifyOxyspinel(r.oxy);
    if (r.thio) r.thioName = classifyThiospinel(*r.thio);
    if (r.seleno) r.selenoName = classifySelenospinel(*r.seleno);
    return r;
}

}  // namespace qarv

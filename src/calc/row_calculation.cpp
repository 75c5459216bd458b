#include "calc/row_calculation.h"

namespace qarv {

RowResults calculateRow(RowInput input) {
    RowResults r;
    r.oxySampleName = std::move(input.oxySampleName);
    r.oxy = recalculateOxyspinel(input.oxides);
    r.oxyName = classifyOxyspinel(r.oxy);
    r.thioInput = std::move(input.thio);
    r.thio = recalculateThiospinel(r.thioInput);
    if (r.thio) r.thioName = classifyThiospinel(*r.thio);
    r.selenoInput = std::move(input.seleno);
    r.seleno = recalculateSelenospinel(r.selenoInput);
    if (r.seleno) r.selenoName = classifySelenospinel(*r.seleno);
    return r;
}

}  // namespace qarv

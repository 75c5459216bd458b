#pragma once
// Everything one analysed row yields: the three blocks' formulae and names,
// computed from that row's cells alone.

#include <optional>
#include <string>

#include "calc/chalcospinel.h"
#include "calc/oxyspinel.h"

namespace qarv {

struct RowInput {
    std::string oxySampleName;
    OxideValues oxides{};
    ThiospinelAnalysis thio;
    SelenospinelAnalysis seleno;
};

struct RowResults {
    std::string oxySampleName;
    OxyspinelFormula oxy;
    SpinelClassification oxyName;
    ThiospinelAnalysis thioInput;
    std::optional<ThiospinelFormula> thio;  // absent when S is 0
    SpinelClassification thioName;
    SelenospinelAnalysis selenoInput;
    std::optional<SelenospinelFormula> seleno;  // absent when Se is 0
    SpinelClassification selenoName;
};

// Recalculates and classifies the three blocks of one row.
RowResults calculateRow(const RowInput& input);

}  // namespace qarv

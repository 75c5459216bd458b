#include "results/sample_row.h"

namespace qarv {
namespace {

class RowWriter {
  public:
    RowWriter(SampleRow& row, const NumberFormatSettings& settings)
        : row_(row), settings_(settings), columns_(resultColumns()) {}

    // A number in the text form of its column.
    void number(int column, double value) {
        std::string& cell = row_[column];
        cell.clear();
        appendNumber(cell, value, columns_[column].form, settings_);
    }
    template <typename Values>
    void numbers(int first, const Values& values) {
        int c = first;
        for (double v : values) number(c++, v);
    }
    void text(int column, std::string_view value) { row_[column].assign(value); }
    void classification(int dominantA, int group, const SpinelClassification& c) {
        text(dominantA, c.dominantA);
        text(dominantA + 1, c.dominantB);
        text(group, c.group);
        text(group + 1, c.subgroup);
        text(group + 2, c.species);
    }
    void blank(int first, int last) {
        for (int c = first; c <= last; ++c) row_[c].clear();
    }
    double shown(int column) const { return readFormatted(row_[column], settings_); }

  private:
    SampleRow& row_;
    const NumberFormatSettings& settings_;
    const std::array<ResultColumn, kResultColumnCount>& columns_;
};

}  // namespace

SampleRow formatSampleRow(const RowResults& r, const NumberFormatSettings& settings) {
    SampleRow row;
    formatSampleRowInto(row, r, settings);
    return row;
}

void formatSampleRowInto(SampleRow& row, const RowResults& r,
                         const NumberFormatSettings& settings) {
    for (std::string& cell : row) cell.clear();
    RowWriter w(row, settings);

    // Blanking goes by the values as the table shows them; a block that is
    // blanked is not formatted at all (its cells stay empty), which gives
    // the same row as formatting and then emptying it.
    const OxyspinelFormula& o = r.oxy;
    w.text(rc::kOxySample, r.oxySampleName);
    w.number(rc::kOxideTotal, o.oxideTotal);
    const double shownTotal = w.shown(rc::kOxideTotal);
    if (shownTotal == 0 || shownTotal < 80) {
        w.blank(rc::kOxideTotal, rc::kOxideTotal);
    } else {
        w.numbers(rc::kOxides, o.oxides);
        w.numbers(rc::kCalcOxides, std::array{o.feOCalc, o.fe2O3Calc, o.mnOCalc, o.mn2O3Calc,
                                              o.coOCalc, o.co2O3Calc});
        w.numbers(rc::kCations, o.apfu);
        w.number(rc::kCationTotal, o.cationTotal);
        if (w.shown(rc::kCationTotal) == 0) w.blank(rc::kCationTotal, rc::kCationTotal);
        w.numbers(rc::kRatios,
                  std::array{o.fe3OverFe2, o.fe3OverFe3Fe2, o.crOverCrAl, o.fe2OverFe2Mg,
                             o.crOverCrAlFe3, o.fe3OverFe3AlCr, o.alOverAlFe3Cr, o.tiOverTiCrAl});
        w.numbers(rc::kChargeTotals, std::array{o.totalR2, o.totalR3, o.totalR4, o.totalR5});
        w.classification(rc::kOxyDominantA, rc::kOxyGroup, r.oxyName);
    }

    // Thiospinel block: empty when S is 0.
    w.text(rc::kThioSample, r.thioInput.sampleName);
    if (r.thioInput.wt[tS] != 0) {
        w.numbers(rc::kThioWt, r.thioInput.wt);
        if (r.thio) {
            w.number(rc::kThioWtTotal, r.thio->wtTotal);
            w.numbers(rc::kThioApfu, r.thio->apfu);
            w.number(rc::kThioApfuTotal, r.thio->apfuTotal);
            w.classification(rc::kThioDominantA, rc::kThioGroup, r.thioName);
        }
    }

    // Selenospinel block: empty when Se is 0.
    w.text(rc::kSelenoSample, r.selenoInput.sampleName);
    if (r.selenoInput.wt[sSe] != 0) {
        w.numbers(rc::kSelenoWt, r.selenoInput.wt);
        if (r.seleno) {
            w.number(rc::kSelenoWtTotal, r.seleno->wtTotal);
            w.numbers(rc::kSelenoApfu, r.seleno->apfu);
            w.number(rc::kSelenoApfuTotal, r.seleno->apfuTotal);
            w.classification(rc::kSelenoDominantA, rc::kSelenoGroup, r.selenoName);
        }
    }
}

}  // namespace qarv

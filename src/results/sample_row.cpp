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
    void text(int column, const std::string& value) { row_[column] = value; }
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
    RowWriter w(row, settings);

    // Oxyspinel block.
    const OxyspinelFormula& o = r.oxy;
    w.text(rc::kOxySample, r.oxySampleName);
    w.numbers(rc::kOxides, o.oxides);
    w.number(rc::kOxideTotal, o.oxideTotal);
    w.numbers(rc::kCalcOxides,
              std::array{o.feOCalc, o.fe2O3Calc, o.mnOCalc, o.mn2O3Calc, o.coOCalc, o.co2O3Calc});
    w.numbers(rc::kCations, o.apfu);
    w.number(rc::kCationTotal, o.cationTotal);
    w.numbers(rc::kRatios,
              std::array{o.fe3OverFe2, o.fe3OverFe3Fe2, o.crOverCrAl, o.fe2OverFe2Mg,
                         o.crOverCrAlFe3, o.fe3OverFe3AlCr, o.alOverAlFe3Cr, o.tiOverTiCrAl});
    w.numbers(rc::kChargeTotals, std::array{o.totalR2, o.totalR3, o.totalR4, o.totalR5});
    w.classification(rc::kOxyDominantA, rc::kOxyGroup, r.oxyName);

    // Thiospinel block.
    w.text(rc::kThioSample, r.thioInput.sampleName);
    w.numbers(rc::kThioWt, r.thioInput.wt);
    if (r.thio) {
        w.number(rc::kThioWtTotal, r.thio->wtTotal);
        w.numbers(rc::kThioApfu, r.thio->apfu);
        w.number(rc::kThioApfuTotal, r.thio->apfuTotal);
        w.classification(rc::kThioDominantA, rc::kThioGroup, r.thioName);
    }

    // Selenospinel block.
    w.text(rc::kSelenoSample, r.selenoInput.sampleName);
    w.numbers(rc::kSelenoWt, r.selenoInput.wt);
    if (r.seleno) {
        w.number(rc::kSelenoWtTotal, r.seleno->wtTotal);
        w.numbers(rc::kSelenoApfu, r.seleno->apfu);
        w.number(rc::kSelenoApfuTotal, r.seleno->apfuTotal);
        w.classification(rc::kSelenoDominantA, rc::kSelenoGroup, r.selenoName);
    }

    // Blanking, on the values as the table shows them.
    const double shownTotal = w.shown(rc::kOxideTotal);
    if (shownTotal == 0 || shownTotal < 80) w.blank(rc::kOxySample + 1, rc::kOxyLast);
    if (w.shown(rc::kCationTotal) == 0) w.blank(rc::kCationTotal, rc::kCationTotal);
    if (r.thioInput.wt[tS] == 0) w.blank(rc::kThioSample + 1, rc::kThioLast);
    if (r.selenoInput.wt[sSe] == 0) w.blank(rc::kSelenoSample + 1, rc::kSelenoLast);
    return row;
}

}  // namespace qarv

#include "ui/sheet_style.h"

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QFontDatabase>
#include <QLocale>
#include <QPalette>

#include "results/results_layout.h"
#include "ui/grid_view.h"

namespace qarv::ui {
namespace {

QColor colourOf(const Rgb& rgb) {
    return QColor(rgb.r, rgb.g, rgb.b);
}

QVariant alignmentOf(CellAlignment alignment) {
    switch (alignment) {
        case CellAlignment::Centre:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        case CellAlignment::Left:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        case CellAlignment::General:
            break;
    }
    return {};
}

// The grid's general alignment: text to the left, numbers to the right.
QVariant generalAlignment(const std::string& text) {
    bool number = false;
    QString::fromStdString(text).trimmed().toDouble(&number);
    return QVariant::fromValue(
        Qt::Alignment((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
}

}  // namespace

QFont gridFont() {
    for (const char* family : {"Arial Narrow", "Liberation Sans Narrow"}) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
            QFont font(QString::fromLatin1(family));
            font.setPointSizeF(9.75);
            return font;
        }
    }
    QFont font = QApplication::font();
    font.setStretch(QFont::SemiCondensed);
    font.setPointSizeF(9.75);
    return font;
}

GridStyle analysisSheetStyle() {
    return [](const TextGrid& grid, int row, int column, int role) -> QVariant {
        const auto& sheet = static_cast<const AnalysisSheet&>(grid);
        if (role == Qt::BackgroundRole) {
            if (const auto colour = sheet.cellColour(row, column)) return QBrush(colourOf(*colour));
            return {};
        }
        if (role == Qt::TextAlignmentRole) {
            if (const auto alignment = sheet.cellAlignment(row, column))
                return alignmentOf(*alignment);
            if (row > 0 && column > 0) {
                if (const auto alignment = sheet.columnAlignment(column)) {
                    if (*alignment != CellAlignment::General) return alignmentOf(*alignment);
                }
            }
            return generalAlignment(sheet.text(row, column));
        }
        return {};
    };
}

GridStyle resultsTableStyle() {
    return [](const TextGrid& grid, int row, int column, int role) -> QVariant {
        if (column < 0 || column >= kResultColumnCount) return {};
        const ResultColumn& layout = resultColumns()[column];
        if (role == Qt::BackgroundRole) {
            if (row == 0 && layout.numberColour) return QBrush(colourOf(*layout.numberColour));
            return {};
        }
        if (role == Qt::TextAlignmentRole) {
            if (row == 0) {
                return column == 0 ? alignmentOf(CellAlignment::Left)
                                   : alignmentOf(CellAlignment::Centre);
            }
            if (row == 1 && layout.kind != ResultKind::Unused)
                return alignmentOf(layout.titleAlignment);
            if (layout.kind != ResultKind::Unused) return alignmentOf(layout.alignment);
            return generalAlignment(grid.text(row, column));
        }
        return {};
    };
}

void applyColumnLayout(GridView& view, const AnalysisSheet& sheet) {
    for (int c = 1; c < sheet.columnCount(); ++c) {
        if (const auto width = sheet.columnWidth(c)) view.setColumnWidthTwips(c, *width);
    }
}

void applyResultsColumnLayout(GridView& view) {
    const auto& columns = resultColumns();
    for (int c = 0; c < kResultColumnCount; ++c) {
        if (columns[c].width) view.setColumnWidthTwips(c, *columns[c].width);
    }
}

NumberFormatSettings regionalNumberSettings() {
    const QLocale locale;
    NumberFormatSettings settings;
    if (!locale.groupSeparator().isEmpty())
        settings.groupSeparator = locale.groupSeparator().toStdString();
    if (!locale.decimalPoint().isEmpty())
        settings.decimalSeparator = locale.decimalPoint().toStdString();
    return settings;
}

}  // namespace qarv::ui

#include "SelectionConversion.h"

#include "ConversionPlan.h"
#include "UnoMessageBoxes.h"
#include "UnoText.h"
#include "messages/MessageBoxes.h"
#include "messages/MsgIds.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/document/XUndoManager.hpp>
#include <com/sun/star/document/XUndoManagerSupplier.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XCellRangeFormula.hpp>
#include <com/sun/star/sheet/XSheetCellCursor.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XUsedAreaCursor.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/table/XTableColumns.hpp>
#include <com/sun/star/table/XTableRows.hpp>
#include <com/sun/star/task/XStatusIndicator.hpp>
#include <com/sun/star/task/XStatusIndicatorFactory.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>
#include <map>
#include <unordered_set>

namespace talvio::calc {

namespace {

using css::table::CellRangeAddress;
using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

// A number of the selection: where it is, its value, and its content as a formula argument
// (the number, or the formula's expression) for when the cell itself is overwritten.
struct Source {
    std::int32_t row = 0;
    double value = 0.0;
    std::string content;
    double result = 0.0;
};

// The numbers of one selected range, by column.
struct SelectedNumbers {
    Reference<css::sheet::XSpreadsheet> sheet;
    std::int16_t sheetIndex = 0;
    std::map<std::int32_t, std::vector<Source>> byColumn;
};

constexpr std::int32_t kRowsPerWrite = 4096;

std::vector<CellRangeAddress> selectedRanges(const Reference<css::frame::XModel> &model) {
    const Reference<css::uno::XInterface> selection(model->getCurrentSelection(), UNO_QUERY);
    if (const Reference<css::sheet::XSheetCellRanges> ranges{selection, UNO_QUERY}; ranges.is()) {
        const Sequence<CellRangeAddress> addresses = ranges->getRangeAddresses();
        return {addresses.begin(), addresses.end()};
    }
    if (const Reference<css::sheet::XCellRangeAddressable> range{selection, UNO_QUERY}; range.is())
        return {range->getRangeAddress()};
    return {};
}

// A whole column or row selected reaches far past the data: only the used area is read.
CellRangeAddress withinUsedArea(const Reference<css::sheet::XSpreadsheet> &sheet,
                                CellRangeAddress address) {
    const Reference<css::sheet::XSheetCellCursor> cursor = sheet->createCursor();
    Reference<css::sheet::XUsedAreaCursor>(cursor, UNO_QUERY_THROW)->gotoEndOfUsedArea(false);
    const CellRangeAddress end =
        Reference<css::sheet::XCellRangeAddressable>(cursor, UNO_QUERY_THROW)->getRangeAddress();
    address.EndColumn = std::min(address.EndColumn, end.EndColumn);
    address.EndRow = std::min(address.EndRow, end.EndRow);
    return address;
}

SelectedNumbers numbersOf(const Reference<css::sheet::XSpreadsheetDocument> &document,
                          const CellRangeAddress &selected) {
    SelectedNumbers numbers;
    numbers.sheetIndex = selected.Sheet;
    numbers.sheet.set(
        Reference<css::container::XIndexAccess>(document->getSheets(), UNO_QUERY_THROW)
            ->getByIndex(selected.Sheet),
        UNO_QUERY_THROW);
    const CellRangeAddress area = withinUsedArea(numbers.sheet, selected);
    if (area.EndColumn < area.StartColumn || area.EndRow < area.StartRow)
        return numbers;
    const Reference<css::table::XCellRange> range = numbers.sheet->getCellRangeByPosition(
        area.StartColumn, area.StartRow, area.EndColumn, area.EndRow);
    const Sequence<Sequence<css::uno::Any>> data =
        Reference<css::sheet::XCellRangeData>(range, UNO_QUERY_THROW)->getDataArray();
    const Sequence<Sequence<OUString>> formulas =
        Reference<css::sheet::XCellRangeFormula>(range, UNO_QUERY_THROW)->getFormulaArray();
    for (sal_Int32 r = 0; r < data.getLength(); ++r) {
        for (sal_Int32 c = 0; c < data[r].getLength(); ++c) {
            double value = 0.0;
            if (data[r][c].getValueTypeClass() != css::uno::TypeClass_DOUBLE
                || !(data[r][c] >>= value))
                continue;
            const OUString &formula = formulas[r][c];
            std::string content = numberLiteral(value);
            if (formula.startsWith("="))
                content = utf8(formula.replaceAt(0, 1, "(") + ")");
            numbers.byColumn[area.StartColumn + c].push_back(
                {area.StartRow + r, value, std::move(content)});
        }
    }
    return numbers;
}

std::uint64_t cellKey(std::int16_t sheet, std::int32_t column, std::int32_t row) {
    return (static_cast<std::uint64_t>(static_cast<std::uint16_t>(sheet)) << 48)
           | (static_cast<std::uint64_t>(static_cast<std::uint32_t>(column)) << 24)
           | static_cast<std::uint64_t>(static_cast<std::uint32_t>(row));
}

sal_Int32 numberFormatKey(const Reference<css::frame::XModel> &model, const std::string &code) {
    const Reference<css::util::XNumberFormats> formats =
        Reference<css::util::XNumberFormatsSupplier>(model, UNO_QUERY_THROW)->getNumberFormats();
    const css::lang::Locale english("en", "US", "");
    const sal_Int32 key = formats->queryKey(uno(code), english, false);
    return key >= 0 ? key : formats->addNew(uno(code), english);
}

// Everything written between its making and its end is one step of the document's undo.
class UndoStep {
public:
    UndoStep(const Reference<css::frame::XModel> &model, const OUString &title)
        : mUndo(Reference<css::document::XUndoManagerSupplier>(model, UNO_QUERY_THROW)
                    ->getUndoManager())
        , mModel(model) {
        mUndo->enterUndoContext(title);
        mModel->lockControllers();
    }
    ~UndoStep() {
        mModel->unlockControllers();
        mUndo->leaveUndoContext();
    }
    UndoStep(const UndoStep &) = delete;
    UndoStep &operator=(const UndoStep &) = delete;

private:
    Reference<css::document::XUndoManager> mUndo;
    Reference<css::frame::XModel> mModel;
};

class Progress {
public:
    Progress(const Reference<css::frame::XFrame> &frame, const OUString &title, sal_Int32 total) {
        const Reference<css::task::XStatusIndicatorFactory> factory(frame, UNO_QUERY);
        if (factory.is())
            mIndicator = factory->createStatusIndicator();
        if (mIndicator.is())
            mIndicator->start(title, total);
    }
    ~Progress() {
        if (mIndicator.is())
            mIndicator->end();
    }
    Progress(const Progress &) = delete;
    Progress &operator=(const Progress &) = delete;
    void advance(sal_Int32 count) {
        mDone += count;
        if (mIndicator.is())
            mIndicator->setValue(mDone);
    }

private:
    Reference<css::task::XStatusIndicator> mIndicator;
    sal_Int32 mDone = 0;
};

// What one conversion writes, and with what.
struct Writing {
    Rounding rounding;
    Offset offset;
    bool byValue = true;
    sal_Int32 formatKey = 0;
    std::unordered_set<std::uint64_t> destinations;
};

void writeRun(const SelectedNumbers &numbers, std::int32_t column, const std::vector<Source> &cells,
              std::size_t first, const Run &run, const Writing &writing) {
    const std::int32_t targetColumn = column + writing.offset.columns;
    const std::int32_t targetRow = run.first + writing.offset.rows;
    const Reference<css::table::XCellRange> target = numbers.sheet->getCellRangeByPosition(
        targetColumn, targetRow, targetColumn, targetRow + run.count - 1);
    if (writing.byValue) {
        Sequence<Sequence<css::uno::Any>> values(run.count);
        auto *rows = values.getArray();
        for (std::int32_t i = 0; i < run.count; ++i) {
            const css::uno::Any value(cells[first + static_cast<std::size_t>(i)].result);
            rows[i] = Sequence<css::uno::Any>(&value, 1);
        }
        Reference<css::sheet::XCellRangeData>(target, UNO_QUERY_THROW)->setDataArray(values);
    } else {
        Sequence<Sequence<OUString>> formulas(run.count);
        auto *rows = formulas.getArray();
        for (std::int32_t i = 0; i < run.count; ++i) {
            const Source &source = cells[first + static_cast<std::size_t>(i)];
            // A source that this conversion overwrites is written into the formula itself.
            const bool overwritten =
                writing.destinations.count(cellKey(numbers.sheetIndex, column, source.row)) != 0;
            const OUString formula = uno(conversionFormula(
                overwritten ? source.content : cellName(column, source.row), writing.rounding));
            rows[i] = Sequence<OUString>(&formula, 1);
        }
        Reference<css::sheet::XCellRangeFormula>(target, UNO_QUERY_THROW)
            ->setFormulaArray(formulas);
    }
    Reference<css::beans::XPropertySet>(target, UNO_QUERY_THROW)
        ->setPropertyValue("NumberFormat", css::uno::Any(writing.formatKey));
}

bool fitsSheet(const SelectedNumbers &numbers, const Offset &offset) {
    const Reference<css::table::XColumnRowRange> sheet(numbers.sheet, UNO_QUERY_THROW);
    const sal_Int32 columns = sheet->getColumns()->getCount();
    const sal_Int32 rows = sheet->getRows()->getCount();
    for (const auto &[column, cells] : numbers.byColumn) {
        const std::int32_t target = column + offset.columns;
        if (target < 0 || target >= columns || cells.front().row + offset.rows < 0
            || cells.back().row + offset.rows >= rows)
            return false;
    }
    return true;
}

} // namespace

std::string convertSelection(const Reference<css::uno::XComponentContext> &,
                             const Reference<css::frame::XFrame> &frame, kvt::KVTMain &main,
                             kvt::InsAutoTypePos position) {
    const Reference<css::frame::XModel> model = frame->getController()->getModel();
    const Reference<css::sheet::XSpreadsheetDocument> document(model, UNO_QUERY);
    if (!document.is())
        return {};
    Writing writing{{main.DeviseFrom(), main.DeviseTo(), main.MethodeArondi(), main.ValeurCible(),
                     main.NbDecEuroInter()},
                    offsetOf(position),
                    main.ParValeur(),
                    0,
                    {}};
    const Rounding &rounding = writing.rounding;
    kvt::Change &engine = *main.mChange;
    if (!engine.ColDevises()->find(rounding.from) || !engine.ColDevises()->find(rounding.to)
        || main.AskRateRequired(rounding.from, rounding.to)) {
        tell(main, kvt::msg::CalcNoRate, kvt::BoxIcon::Information,
             " " + rounding.from + " " + rounding.to);
        return {};
    }

    std::vector<SelectedNumbers> selection;
    std::size_t total = 0;
    for (const CellRangeAddress &range : selectedRanges(model)) {
        selection.push_back(numbersOf(document, range));
        for (const auto &[column, cells] : selection.back().byColumn)
            total += cells.size();
    }
    if (total == 0) {
        tell(main, kvt::msg::CalcNothingToConvert, kvt::BoxIcon::Information);
        return {};
    }
    for (SelectedNumbers &numbers : selection) {
        if (!fitsSheet(numbers, writing.offset)) {
            tell(main, kvt::msg::CalcOutsideSheet, kvt::BoxIcon::Information);
            return {};
        }
        for (auto &[column, cells] : numbers.byColumn) {
            for (Source &source : cells) {
                source.result =
                    engine.dblConvert(source.value, rounding.from, rounding.to,
                                      rounding.euroDecimals, rounding.method, rounding.pattern);
                writing.destinations.insert(cellKey(numbers.sheetIndex,
                                                    column + writing.offset.columns,
                                                    source.row + writing.offset.rows));
            }
        }
    }

    const std::string alias = main.FormatDef() ? main.DeviseFormat(rounding.to) : std::string();
    writing.formatKey = numberFormatKey(
        model, resultFormat(main.DeviseFormatNumber(rounding.to, rounding.method, rounding.pattern),
                            alias));
    const OUString title = uno(main.Translate(kvt::msg::CalcConverting));
    const Source *last = nullptr;
    {
        UndoStep step(model, title);
        Progress progress(frame, title, static_cast<sal_Int32>(total));
        for (const SelectedNumbers &numbers : selection) {
            for (const auto &[column, cells] : numbers.byColumn) {
                std::vector<std::int32_t> rows;
                rows.reserve(cells.size());
                for (const Source &source : cells)
                    rows.push_back(source.row);
                std::size_t first = 0;
                for (const Run &run : runsOf(rows, kRowsPerWrite)) {
                    writeRun(numbers, column, cells, first, run, writing);
                    first += static_cast<std::size_t>(run.count);
                    progress.advance(run.count);
                }
                last = &cells.back();
            }
        }
    }
    return numberLiteral(last->value) + " " + rounding.from + " = " + numberLiteral(last->result)
           + " " + rounding.to;
}

} // namespace talvio::calc

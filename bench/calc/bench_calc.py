"""Times Talvio in a headless Calc: recalculating 100,000 TALVIO.CONVERT cells against 100,000
cells of Calc's own EUROCONVERT in the same run, and converting a selection of 100,000 cells."""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tests/calc"))
from office import Office  # noqa: E402

CELLS = int(os.environ.get("TALVIO_BENCH_CELLS", "100000"))
ROUNDS = 3


def column_of_formulas(sheet, column, make):
    cells = sheet.getCellRangeByPosition(column, 0, column, CELLS - 1)
    cells.setFormulaArray(tuple((make(i),) for i in range(CELLS)))
    return cells


def fastest_recalculation(document):
    times = []
    for _ in range(ROUNDS):
        start = time.perf_counter()
        document.calculateAll()
        times.append(time.perf_counter() - start)
    return min(times)


def main():
    office = Office().install()
    for key, value in [("MoneyIN", "BEF"), ("MoneyOUT", "FRF"), ("InsAuto", "ON"),
                       ("InsAutoType", "4"), ("ConvParValeur", "ON")]:
        office.talvio("settings", "set", "UserChoice", key, value)
    office.start()
    try:
        amount = lambda i: 1000 + i * 0.37  # noqa: E731
        timings = {}
        for name, make in [
            ("TALVIO.CONVERT", lambda i: '=TALVIO.CONVERT(%r;"BEF";"FRF")' % amount(i)),
            ("EUROCONVERT", lambda i: '=EUROCONVERT(%r;"BEF";"FRF")' % amount(i)),
        ]:
            document = office.new_sheet()
            column_of_formulas(document.Sheets.getByIndex(0), 0, make)
            timings[name] = fastest_recalculation(document)
            document.close(True)
            print("%-15s %d cells recalculated in %.3f s: %.2f us per cell"
                  % (name, CELLS, timings[name], timings[name] / CELLS * 1e6))
        print("TALVIO.CONVERT / EUROCONVERT per cell: %.2f (goal <= 1.5)"
              % (timings["TALVIO.CONVERT"] / timings["EUROCONVERT"]))

        document = office.new_sheet()
        sheet = document.Sheets.getByIndex(0)
        values = sheet.getCellRangeByPosition(0, 0, 0, CELLS - 1)
        values.setDataArray(tuple((amount(i),) for i in range(CELLS)))
        document.CurrentController.select(values)
        start = time.perf_counter()
        office.dispatch(document, "ConvertSelection")
        took = time.perf_counter() - start
        last = sheet.getCellByPosition(1, CELLS - 1).getValue()
        print("Convert selection of %d cells: %.3f s (goal <= 3 s); last result %.2f"
              % (CELLS, took, last))
    finally:
        office.stop()


if __name__ == "__main__":
    main()

"""The commands of the Talvio menu in a headless Calc: converting a selection to each position,
as values and as formulas, with the number format and one undo step; Talvio's windows in a
process of their own (a stand-in program here); reloading after another add-in saves."""

import json
import os
import subprocess
import unittest

from office import Office, TALVIO, wait_until

HERE = os.path.dirname(os.path.abspath(__file__))
office = document = sheet = None
script_file = None


def setUpModule():
    global office, document, sheet, script_file
    office = Office()
    script_file = os.path.join(office.folder, "fake.json")
    office.env.update(TALVIO_PROGRAM=os.path.join(HERE, "fake_talvio.py"),
                      TALVIO_FAKE_SCRIPT=script_file, TALVIO_BINARY=TALVIO)
    office.install()
    for key, value in [("MoneyIN", "BEF"), ("MoneyOUT", "FRF"), ("InsAuto", "ON"),
                       ("InsAutoType", "4"), ("ConvParValeur", "ON")]:
        office.talvio("settings", "set", "UserChoice", key, value)
    office.talvio("set-rate", "EUR", "USD", "1.08")
    write_script({})
    office.start()
    document = office.new_sheet()
    sheet = document.Sheets.getByIndex(0)


def tearDownModule():
    office.stop()


def write_script(script):
    with open(script_file, "w") as f:
        json.dump(script, f)


def panel_sets(settings, rate):
    """Has the (stand-in) control panel save these preferences and the rate 1 EUR = rate USD,
    then waits until Calc reloaded: a cell of the rate shows the new one."""
    write_script({"panel": [["settings", "set", "UserChoice", k, v] for k, v in settings]
                  + [["set-rate", "EUR", "USD", rate]]})
    probe = sheet.getCellRangeByName("Z1")
    probe.setFormula('=TALVIO.RATE("EUR";"USD")')
    office.dispatch(document, "ControlPanel")
    wait_until(lambda: abs(probe.getValue() - float(rate)) < 1e-12, what="the reload")
    probe.setString("")


def fill(values):
    """Clears the sheet and puts the numbers (rows of columns, from B2) and one text."""
    sheet.getCellRangeByName("A1:Y30").clearContents(1 | 2 | 4 | 16)
    for r, row in enumerate(values):
        for c, value in enumerate(row):
            sheet.getCellByPosition(1 + c, 1 + r).setValue(value)
    sheet.getCellByPosition(1, 1 + len(values)).setString("not a number")


def fake_log():
    with open(script_file + ".log") as log:
        return log.read()


def select(name):
    document.CurrentController.select(sheet.getCellRangeByName(name))


def format_of(cell):
    return document.NumberFormats.getByKey(cell.NumberFormat).FormatString


class ConvertSelection(unittest.TestCase):
    def test_each_position_as_value_and_as_formula_with_format_and_one_undo(self):
        convert = '=ORG.TALVIO.CALC.FUNCTIONS.CONVERT(%s;"BEF";"FRF";"legal";"0.0X";15)'
        cases = [  # position, by value, where the results of B2:B3 go, their formulas
            ("0", "ON", "B2:B3", None),
            ("1", "ON", "B1:B2", None),
            ("2", "ON", "B3:B4", None),
            ("3", "ON", "A2:A3", None),
            ("4", "ON", "C2:C3", None),
            ("4", "OFF", "C2:C3", (convert % "B2", convert % "B3")),
            # A source that a result overwrites is written into the formula.
            ("0", "OFF", "B2:B3", (convert % "1000", convert % "-123456")),
            ("2", "OFF", "B3:B4", (convert % "B2", convert % "-123456")),
        ]
        rate = 1.5
        for position, by_value, results, formulas in cases:
            with self.subTest(position=position, by_value=by_value):
                rate += 0.25
                panel_sets([("InsAutoType", position), ("ConvParValeur", by_value)], str(rate))
                fill([[1000], [-123456]])
                undo = document.UndoManager
                steps = len(undo.getAllUndoActionTitles())
                select("B2:B4")
                office.dispatch(document, "ConvertSelection")
                cells = sheet.getCellRangeByName(results)
                self.assertEqual(cells.getDataArray(), ((162.61,), (-20074.87,)))
                self.assertEqual(format_of(cells.getCellByPosition(0, 1)), "#,##0.00 [$FRF]")
                if formulas:
                    self.assertEqual(cells.getFormulaArray(), tuple((f,) for f in formulas))
                if position != "2":  # below, the second result replaces the text
                    self.assertEqual(sheet.getCellRangeByName("B4").getString(), "not a number")
                self.assertEqual(len(undo.getAllUndoActionTitles()), steps + 1)
                undo.undo()
                self.assertEqual(sheet.getCellRangeByName("B2:B3").getDataArray(),
                                 ((1000.0,), (-123456.0,)))

    def test_the_position_is_picked_while_calc_keeps_working_and_nothing_when_cancelled(self):
        panel_sets([("InsAuto", "OFF"), ("ConvParValeur", "ON")], "2.5")
        chosen = os.path.join(office.folder, "chosen")
        for picked in ["3 left", None]:
            with self.subTest(picked=picked):
                fill([[1000]])
                write_script({"position": picked, "wait_for": chosen})
                select("B2")
                office.dispatch(document, "ConvertSelection")
                # While the picker waits for its user, Calc still answers and calculates.
                probe = sheet.getCellRangeByName("E1")
                probe.setFormula("=6*7")
                self.assertEqual(probe.getValue(), 42)
                self.assertEqual(sheet.getCellRangeByName("A2").getString(), "")
                open(chosen, "w").close()
                if picked:
                    wait_until(lambda: sheet.getCellRangeByName("A2").getValue() == 162.61,
                               what="the conversion after the pick")
                else:
                    wait_until(lambda: "cancelled" in fake_log(), what="the cancelled pick")
                    self.assertEqual(sheet.getCellRangeByName("A2").getString(), "")
                    self.assertEqual(fake_log().count("pick position"), 2)
                os.remove(chosen)
        # The cancelled picker may still be ending: this test sorts after the others that open
        # windows, and the tests of Coordination open none.

    def test_swap_currencies_saves_the_pair(self):
        office.dispatch(document, "SwapCurrencies")
        self.assertIn("UserChoice\tMoneyIN\tFRF", office.talvio("settings", "list"))
        office.dispatch(document, "SwapCurrencies")
        self.assertIn("UserChoice\tMoneyIN\tBEF", office.talvio("settings", "list"))


class Coordination(unittest.TestCase):
    def test_reloads_and_recalculates_when_another_add_in_saves(self):
        office.dispatch(document, "SwapCurrencies")  # registers with the add-in manager
        office.dispatch(document, "SwapCurrencies")
        cell = sheet.getCellRangeByName("Y1")
        cell.setFormula('=TALVIO.CONVERT(100;"EUR";"USD")')
        other = subprocess.run([TALVIO, "addin"], env=office.env, text=True, capture_output=True,
                               input="start\nset-rate EUR USD 1.25\nfinish\nquit\n", timeout=60)
        self.assertEqual(other.returncode, 0, other.stderr)
        wait_until(lambda: cell.getValue() == 125, what="the recalculation")
        names = subprocess.run([TALVIO, "addin"], env=office.env, text=True, capture_output=True,
                               input="names\nquit\n", timeout=60).stdout
        self.assertIn("name Calc 1", names)
        libraries = office.loaded_libraries()
        self.assertTrue(any(name.startswith("libQt6DBus.so") for name in libraries))
        self.assertEqual([name for name in libraries if name.startswith(("libQt6Gui", "libQt6Widgets"))], [])


if __name__ == "__main__":
    unittest.main()

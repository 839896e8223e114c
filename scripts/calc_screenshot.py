"""Shows Talvio in a real Calc window on the X display $DISPLAY: cell functions, a converted
selection with its result in the status bar, and the Talvio menu opened; then saves a picture
of the screen to the file given."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../tests/calc"))
from office import Office, wait_until  # noqa: E402


def main(picture):
    office = Office({"SAL_USE_VCLPLUGIN": "gen"}).install()
    for key, value in [("MoneyIN", "BEF"), ("MoneyOUT", "FRF"), ("InsAuto", "ON"),
                       ("InsAutoType", "4"), ("ConvParValeur", "ON"), ("FirstTime", "OFF")]:
        office.talvio("settings", "set", "UserChoice", key, value)
    office.start(headless=False)
    try:
        document = office.new_sheet(hidden=False)
        frame = document.CurrentController.Frame
        frame.ContainerWindow.setPosSize(0, 0, 1100, 560, 15)
        sheet = document.Sheets.getByIndex(0)
        sheet.getCellRangeByName("A1:C1").setDataArray(
            (("Amount (BEF)", "Converted (menu)", "=TALVIO.CONVERT(A; \"BEF\"; \"FRF\")"),))
        amounts = (1000, 250000, -123.456, 40.3399, 1234567)
        for row, amount in enumerate(amounts, start=2):
            sheet.getCellRangeByName("A%d" % row).setValue(amount)
            sheet.getCellRangeByName("C%d" % row).setFormula(
                '=TALVIO.CONVERT(A%d;"BEF";"FRF")' % row)
        examples = [("=TALVIO.RATE(\"EUR\";\"BEF\")", '=TALVIO.RATE("EUR";"BEF")'),
                    ("=TALVIO.CONVERT(1000;\"BEF\";\"FRF\";\"up\";\"X.X9\")",
                     '=TALVIO.CONVERT(1000;"BEF";"FRF";"up";"X.X9")'),
                    ("=TALVIO.FORMAT(\"FRF\")", '=TALVIO.FORMAT("FRF")'),
                    ("=TALVIO.ALIAS(\"BEF\")", '=TALVIO.ALIAS("BEF")')]
        for row, (label, formula) in enumerate(examples, start=9):
            sheet.getCellRangeByName("A%d" % row).setString(label)
            sheet.getCellRangeByName("D%d" % row).setFormula(formula)
        for column in ("A", "B", "C", "D"):
            sheet.getColumns().getByName(column).OptimalWidth = True
        document.CurrentController.select(sheet.getCellRangeByName("A2:A6"))
        office.dispatch(document, "ConvertSelection")
        wait_until(lambda: sheet.getCellRangeByName("B2").getValue() == 162.61,
                   what="the conversion")
        time.sleep(2)  # let the window paint before the menu opens
        # The menu's own key, Alt+A, opens it, as a user at the keyboard would.
        window = subprocess.run(["xdotool", "search", "--name", "Calc"], capture_output=True,
                                text=True).stdout.split()
        subprocess.run(["xdotool", "windowfocus", "--sync", window[-1]], check=False,
                       stderr=subprocess.DEVNULL)
        subprocess.run(["xdotool", "key", "--clearmodifiers", "alt+a"], check=True)
        time.sleep(2)
        subprocess.run(["import", "-window", "root", "-crop", "1100x560+0+0", picture],
                       check=True)
    finally:
        office.stop()


if __name__ == "__main__":
    main(sys.argv[1])

#!/usr/bin/python3
"""Makes the workbook fixtures of the load tests with other writers than the
program's own: openpyxl.xlsx with Python's openpyxl, then libreoffice.xlsx and
libreoffice.xls converted from it by LibreOffice. Run it here:

    /usr/bin/python3 make_fixtures.py

Each workbook has two sheets; the second, active one is laid out like the
analysis sheet and holds values at the corners of the block A1:BH201 and just
outside it (BI1, A202)."""

import os
import subprocess
import tempfile

import openpyxl

book = openpyxl.Workbook()
first = book.active
first.title = "Notes"
first["A1"] = "not the active sheet"
sheet = book.create_sheet("Analyses")
sheet["A1"] = "Row No"
sheet["B1"] = "Sample No [Oxyspinel]"
sheet["E1"] = "Al2O3"
sheet["A2"] = 1
sheet["B2"] = "Chr 1"
sheet["E2"] = 15.25
sheet["G2"] = "55.1"
sheet["B3"] = "007"
sheet["E3"] = 12
sheet["BH201"] = "last"
sheet["BI1"] = "beyond"
sheet["A202"] = "below"
book.active = 1
book.save("openpyxl.xlsx")

with tempfile.TemporaryDirectory() as profile:
    for kind in ("xlsx", "xls"):
        subprocess.run(
            ["soffice", f"-env:UserInstallation=file://{profile}", "--headless",
             "--convert-to", kind, "--outdir", "converted", "openpyxl.xlsx"],
            check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.replace(f"converted/openpyxl.{kind}", f"libreoffice.{kind}")
os.rmdir("converted")

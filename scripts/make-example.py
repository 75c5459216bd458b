#!/usr/bin/env python3
"""Writes the bundled analysis file examples/example.dor.

The analyses are kept here as readable tables; the file is generated from
them so that it can be checked and changed without a grid. Run it from
anywhere:

    python3 scripts/make-example.py            # writes examples/example.dor
    python3 scripts/make-example.py OUT.dor    # writes OUT.dor instead

Analysis file layout: a double quote, the sheet's data area as block text
(200 rows joined by CR, 60 cells per row joined by TAB, nothing after the
last cell or row), a double quote, CR LF; Windows-1252 bytes.

The three blocks of a sheet row are independent analyses, each with its
own sample name; the tables below are laid into the rows from the top.
Values are wt% as a microprobe prints them; iron is total iron as FeO
(the program estimates Fe3+ by charge balance). An empty cell means not
analysed or below detection.
"""

import sys
from pathlib import Path

ROWS = 200
COLUMNS = 60

# Sheet columns of the three blocks (1-based, as on the grid).
OXY_NAME_COLUMN = 1
OXY_OXIDES = (
    "SiO2", "TiO2", "GeO2", "Al2O3", "Ti2O3", "Cr2O3", "V2O3", "Fe2O3",
    "Mn2O3", "Co2O3", "VO", "FeO", "MgO", "CaO", "MnO", "CuO", "ZnO", "CoO",
    "NiO", "Na2O", "K2O", "Li2O", "Sb2O5",
)  # columns 2 to 24
THIO_NAME_COLUMN = 26
THIO_ELEMENTS = (
    "Cu", "Ag", "Cd", "Fe", "Mn", "Zn", "Ge", "Co", "Ni", "Pb", "Bi", "Cr",
    "V", "In", "Sb", "As", "Sn", "Ir", "Pd", "Pt", "Rh", "Se", "Te", "S",
)  # columns 27 to 50
SELENO_NAME_COLUMN = 52
SELENO_ELEMENTS = ("Cu", "Fe", "Co", "Ni", "Pb", "S", "Se")  # columns 53 to 59

# ---------------------------------------------------------------------------
# Oxyspinel block: oxide wt%, FeO = total iron.

OXIDE_COLUMNS = (
    "SiO2", "TiO2", "Al2O3", "Cr2O3", "V2O3", "FeO", "MgO", "CaO", "MnO",
    "ZnO", "NiO",
)

OXIDE_ANALYSES = [
    # sample          SiO2    TiO2    Al2O3    Cr2O3    V2O3    FeO      MgO      CaO     MnO     ZnO      NiO
    # Ophiolitic chromite, high-Cr, accessory grain in dunite: core and
    # ferrian-chromite alteration rim of the same grain.
    ("CHR-01 core",   "0.04", "0.18", "10.64", "55.12", "0.19", "24.37", "8.46",  "",     "0.41", "0.14",  "0.06"),
    ("CHR-01 rim",    "0.11", "0.42", "2.86",  "42.38", "0.24", "46.35", "2.91",  "",     "0.96", "0.38",  "0.35"),
    # Podiform chromitite (high-Cr type).
    ("PD-7",          "0.03", "0.14", "9.87",  "59.94", "0.12", "14.76", "14.02", "",     "0.21", "",      "0.11"),
    # Stratiform chromitite seams of layered intrusions.
    ("BV-UG2-3",      "0.05", "0.86", "15.42", "44.81", "0.45", "27.12", "9.18",  "",     "0.27", "0.09",  "0.13"),
    ("SW-G-2",        "0.02", "0.48", "17.36", "45.97", "0.31", "23.98", "9.92",  "",     "0.24", "0.07",  "0.09"),
    # Magnesiochromite from a kimberlite heavy-mineral concentrate.
    ("Kim-4",         "0.08", "0.31", "6.12",  "63.58", "0.21", "15.36", "13.47", "",     "0.24", "0.06",  "0.11"),
    # Magnetite (skarn) and V-Ti magnetite (layered gabbro).
    ("Mt-3",          "0.09", "0.07", "0.28",  "0.02",  "0.06", "91.84", "0.31",  "0.05", "0.14", "",      ""),
    ("Mt-5",          "0.12", "8.54", "2.86",  "0.35",  "1.42", "80.12", "0.84",  "",     "0.31", "0.06",  ""),
    # Ulvospinel-rich titanomagnetite, groundmass of a quenched basalt.
    ("TiMt-1",        "0.14", "25.71", "2.14", "0.06",  "0.52", "67.52", "1.72",  "",     "0.68", "0.05",  ""),
    # Mg-Al spinel of a spinel lherzolite xenolith.
    ("Ölberg 3",      "0.06", "0.09", "57.48", "9.72",  "0.06", "10.93", "20.78", "",     "0.12", "0.09",  "0.37"),
    # Hercynite of an aluminous granulite.
    ("Hc-2",          "0.03", "0.07", "58.94", "0.41",  "0.05", "32.86", "5.12",  "",     "0.18", "1.54",  ""),
    # Gahnite of a metamorphosed Zn-rich rock.
    ("Ghn-1",         "0.04", "0.02", "55.71", "0.05",  "",     "5.62",  "1.48",  "",     "0.34", "36.37", ""),
]

# ---------------------------------------------------------------------------
# Thiospinel block: element wt%.

THIO_COLUMNS = ("Cu", "Fe", "Mn", "Zn", "Co", "Ni", "Cr", "Se", "S")

THIO_ANALYSES = [
    # sample     Cu       Fe       Mn      Zn      Co       Ni       Cr       Se      S
    # Carrollite, CuCo2S4, of Cu-Co ores; the second with Ni for Co.
    ("Carr-2",  "20.34", "0.42",  "",     "",     "35.87", "2.06",  "",      "0.08", "41.25"),
    ("Carr-5",  "19.86", "0.85",  "",     "",     "31.42", "6.41",  "",      "",     "41.08"),
    # Linnaeite Co3S4, violarite FeNi2S4, siegenite CoNi2S4, polydymite Ni3S4.
    ("Lin-1",   "0.94",  "1.73",  "",     "",     "50.86", "4.12",  "",      "",     "41.87"),
    ("Vio-3",   "0.21",  "17.64", "",     "",     "1.24",  "38.12", "",      "",     "42.18"),
    ("Sgn-1",   "1.12",  "2.31",  "",     "",     "22.46", "31.84", "",      "",     "41.97"),
    ("Pdy-1",   "0.36",  "2.64",  "",     "",     "1.38",  "53.42", "",      "",     "42.03"),
    # Greigite Fe3S4 of a sediment; daubreelite FeCr2S4 of an iron meteorite.
    ("Grg-1",   "0.12",  "55.81", "",     "",     "",      "0.38",  "",      "",     "42.97"),
    ("Dbr-1",   "",      "18.43", "0.94", "0.31", "",      "",      "35.72", "",     "44.18"),
]

# ---------------------------------------------------------------------------
# Selenospinel block: element wt%.

SELENO_COLUMNS = SELENO_ELEMENTS

SELENO_ANALYSES = [
    # sample    Cu       Fe      Co       Ni      Pb   S       Se
    # Tyrrellite, Cu(Co,Ni)2Se4.
    ("Tyr-1",  "12.84", "0.61", "12.73", "9.38", "",  "0.42", "63.47"),
]


def lay_block(rows, analyses, columns, name_column, order):
    """Puts each analysis into the next row from the top: the sample name
    into name_column, each value into its element's or oxide's column."""
    first_value_column = name_column + 1
    for row_index, analysis in enumerate(analyses):
        name, values = analysis[0], analysis[1:]
        if len(values) != len(columns):
            raise SystemExit(f"{name}: {len(values)} values for {len(columns)} columns")
        cells = rows[row_index]
        cells[name_column - 1] = name
        for column_name, value in zip(columns, values):
            cells[first_value_column + order.index(column_name) - 1] = value


def block_text():
    rows = [[""] * COLUMNS for _ in range(ROWS)]
    lay_block(rows, OXIDE_ANALYSES, OXIDE_COLUMNS, OXY_NAME_COLUMN, OXY_OXIDES)
    lay_block(rows, THIO_ANALYSES, THIO_COLUMNS, THIO_NAME_COLUMN, THIO_ELEMENTS)
    lay_block(rows, SELENO_ANALYSES, SELENO_COLUMNS, SELENO_NAME_COLUMN, SELENO_ELEMENTS)
    for cells in rows:
        for text in cells:
            if any(c in text for c in '"\t\r\n'):
                raise SystemExit(f"cell text {text!r} cannot be stored in an analysis file")
    return "\r".join("\t".join(cells) for cells in rows)


def main():
    default = Path(__file__).resolve().parent.parent / "examples" / "example.dor"
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else default
    data = ('"' + block_text() + '"\r\n').encode("cp1252")
    target.parent.mkdir(parents=True, exist_ok=True)
    target.write_bytes(data)
    print(f"{target}: {len(data)} bytes")


if __name__ == "__main__":
    main()

"""Prints an xlsx workbook as the program's semicolon text, each number with the decimals its
format shows, after two lines on the header row: whether it is frozen and bold."""
import sys

import openpyxl

sheet = openpyxl.load_workbook(sys.argv[1]).active
print("frozen", sheet.freeze_panes)
print("bold", all(cell.font.bold for cell in sheet[1]))
for row in sheet.iter_rows(max_col=sheet.max_column):
    cells = []
    for cell in row:
        if cell.value is None:
            cells.append("")
        elif isinstance(cell.value, (int, float)):
            decimals = len(cell.number_format.split(".")[1]) if "." in cell.number_format else 0
            cells.append(f"{cell.value:.{decimals}f}")
        else:
            cells.append(str(cell.value))
    print(";".join(cells))

#!/usr/bin/python3
"""Reads an .xls workbook with xlrd and prints, as JSON, what a spreadsheet user sees:
per sheet its name, its rows (without empty cells at their ends; a number cell as a JSON number, a text cell as a string,
an empty cell as null), whether the cells of the first two rows are bold, and the
column widths; and the workbook's last author."""
import json
import sys

import xlrd


def value(cell):
    if cell.ctype == xlrd.XL_CELL_NUMBER:
        return cell.value
    if cell.ctype == xlrd.XL_CELL_TEXT:
        return cell.value
    if cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
        return None
    return {"unexpected cell type": cell.ctype}


def main(path):
    book = xlrd.open_workbook(path, formatting_info=True)
    sheets = []
    for sheet in book.sheets():
        rows = []
        for r in range(sheet.nrows):
            cells = [value(sheet.cell(r, c)) for c in range(sheet.row_len(r))]
            while cells and cells[-1] is None:
                cells.pop()
            rows.append(cells)
        bold = [[book.font_list[book.xf_list[sheet.cell_xf_index(r, c)].font_index].weight >= 700
                 for c in range(sheet.row_len(r))] for r in range(min(2, sheet.nrows))]
        widths = [sheet.colinfo_map[c].width if c in sheet.colinfo_map else None
                  for c in range(sheet.ncols)]
        sheets.append({"name": sheet.name, "rows": rows, "bold": bold, "widths": widths})
    json.dump({"author": book.user_name, "sheets": sheets}, sys.stdout)


if __name__ == "__main__":
    main(sys.argv[1])

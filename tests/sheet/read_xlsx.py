"""Prints every cell of every sheet of an .xlsx file, one line a cell:
sheet, row, column, type (s, n, or d for a date-time), number format, value
(numbers in repr form, date-times in ISO 8601)."""
import datetime
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
for index, sheet in enumerate(book.worksheets):
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is None:
                continue
            if isinstance(cell.value, str):
                kind, text = "s", cell.value
            elif isinstance(cell.value, datetime.datetime):
                kind, text = "d", cell.value.isoformat(timespec="minutes")
            else:
                kind, text = "n", repr(float(cell.value))
            print(f"{index}\t{cell.row}\t{cell.column}\t{kind}\t{cell.number_format}\t{text}")

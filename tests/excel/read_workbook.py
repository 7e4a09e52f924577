"""Prints what a reader other than our writer finds in a workbook, one fact a line:

    sheet "<title>"
    freeze <top-left cell of the scrolling pane, or None>
    filter <autofilter range, or None>
    cell <coordinate> <type> <value as JSON> <number format>[ bold]
    width <column letter> <width>

Cells without a value are left out. Texts are JSON with non-ASCII characters as they are.
"""
import json
import sys

import openpyxl


def describe(workbook):
    lines = []
    for sheet in workbook.worksheets:
        lines.append("sheet " + json.dumps(sheet.title, ensure_ascii=False))
        lines.append(f"freeze {sheet.freeze_panes}")
        lines.append(f"filter {sheet.auto_filter.ref}")
        for row in sheet.iter_rows():
            for cell in row:
                if cell.value is None:
                    continue
                line = (f"cell {cell.coordinate} {cell.data_type} "
                        f"{json.dumps(cell.value, ensure_ascii=False)} {cell.number_format}")
                if cell.font is not None and cell.font.b:
                    line += " bold"
                lines.append(line)
        for letter, dimension in sorted(sheet.column_dimensions.items()):
            if dimension.customWidth:
                lines.append(f"width {letter} {dimension.width:g}")
    return lines


def main():
    workbook = openpyxl.load_workbook(sys.argv[1])
    sys.stdout.buffer.write(("\n".join(describe(workbook)) + "\n").encode("utf-8"))


if __name__ == "__main__":
    main()

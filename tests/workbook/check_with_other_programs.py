#!/usr/bin/env python3
"""Workbooks against other spreadsheet programs, both ways.

Ours read by theirs: workbook_tool writes the nine-column sample and a sheet
of 6,000 texts whose shared string table spans many CONTINUE records (and
prints their cells); LibreOffice Calc converts it to CSV (cells as shown, texts
quoted), Gnumeric's ssconvert to its XML file (value types and formats), and
python3-xlrd reads it; each must find every value with its type: dates as
dates, numbers and money as numbers, texts as texts.

Theirs read by ours: calc-nine-columns.xls and gnumeric-nine-columns.xls,
saved by those programs from nine-columns.csv, must read as their .expected
cells; when the programs are here, they save the CSV afresh and the new files
must read the same.

Exit 77 (skipped) when a program is missing and nothing failed.
"""
import csv
import datetime
import gzip
import io
import os
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET

ENV = dict(os.environ, LC_ALL="C.UTF-8", LANG="C.UTF-8")
failures = []
missing = []


def fail(where, message):
    failures.append("%s%s: %s" % (workbook_name, where, message))


workbook_name = ""


def parse_cells(text):
    cells = {}
    for line in text.splitlines():
        row, column, kind, value = line.split("\t", 3)
        if kind == "text":
            value = re.sub(r"\\(.)", lambda m: {"t": "\t", "n": "\n"}.get(m.group(1), m.group(1)), value)
        else:
            value = float(value)
        cells[(int(row), int(column))] = (kind, value)
    return cells


def tool(workbook_tool, *args):
    return subprocess.run([*workbook_tool, *args], check=True, capture_output=True, env=ENV).stdout.decode("utf-8")


def serial(date):
    """The day serial a spreadsheet shows for an automation date."""
    return date - 1 if 2 <= date < 61 else date


def calendar_day(date):
    return (datetime.datetime(1899, 12, 30) + datetime.timedelta(days=date)).date()


def close(a, b, digits=9):
    return abs(a - b) <= 10 ** -digits * max(1.0, abs(b))


def check_xlrd(path, expected):
    try:
        import xlrd
    except ImportError:
        if "python3-xlrd" not in missing:
            missing.append("python3-xlrd")
        return
    try:
        sheet = xlrd.open_workbook(path).sheet_by_index(0)
    except Exception as e:  # xlrd gives up on a damaged file with whatever it meets
        fail("xlrd", "cannot read %s: %r" % (path, e))
        return
    types = {"text": xlrd.XL_CELL_TEXT, "number": xlrd.XL_CELL_NUMBER, "money": xlrd.XL_CELL_NUMBER,
             "date": xlrd.XL_CELL_DATE}
    for row in range(max(sheet.nrows, 1 + max(r for r, _ in expected))):
        for column in range(max(sheet.ncols, 1 + max(c for _, c in expected))):
            kind, value = expected.get((row, column), ("empty", None))
            cell = sheet.cell(row, column) if row < sheet.nrows and column < sheet.ncols else None
            got = (cell.ctype, cell.value) if cell else (xlrd.XL_CELL_EMPTY, "")
            if kind == "empty":
                want = (xlrd.XL_CELL_EMPTY, "")
            else:
                want = (types[kind], serial(value) if kind == "date" else value)
            if got != want:
                fail("xlrd", "row %d column %d: %r, expected %r" % (row, column, got, want))


def read_csv_quoted(text):
    """CSV rows of (field, was quoted)."""
    rows, row, field, quoted, i = [], [], "", False, 0
    while i < len(text):
        c = text[i]
        if c == '"':
            quoted = True
            i += 1
            while i < len(text):
                if text[i] == '"' and text[i + 1:i + 2] == '"':
                    field += '"'
                    i += 2
                elif text[i] == '"':
                    i += 1
                    break
                else:
                    field += text[i]
                    i += 1
            continue
        if c in ",\n":
            row.append((field, quoted))
            field, quoted = "", False
            if c == "\n":
                rows.append(row)
                row = []
        else:
            field += c
        i += 1
    return rows


def check_calc(soffice, path, expected, work):
    outdir = os.path.join(work, "calc-csv")
    shutil.rmtree(outdir, ignore_errors=True)
    # Comma, quote, UTF-8 (76), from line 1, cells as shown, text cells quoted.
    subprocess.run([soffice, "-env:UserInstallation=file://" + os.path.join(work, "lo-profile"), "--headless",
                    "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,true,true,true",
                    "--outdir", outdir, path],
                   check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, env=ENV)
    name = os.path.splitext(os.path.basename(path))[0] + ".csv"
    with open(os.path.join(outdir, name), encoding="utf-8", newline="") as f:
        rows = read_csv_quoted(f.read().replace("\r\n", "\n"))
    for (row, column), (kind, value) in sorted(expected.items()):
        field, quoted = rows[row][column] if row < len(rows) and column < len(rows[row]) else ("", False)
        where = "Calc row %d column %d" % (row, column)
        if kind == "text":
            # Calc keeps an empty text as an empty cell.
            if field != value or (value and not quoted):
                fail(where, "shows %r (quoted %s), expected the text %r" % (field, quoted, value))
            continue
        if quoted:
            fail(where, "shows the text %r, expected a %s" % (field, kind))
        elif kind == "date":
            try:
                shown = datetime.datetime.strptime(field, "%m/%d/%Y").date()
            except ValueError:
                shown = field
            if shown != calendar_day(value):
                fail(where, "shows %r, expected the date %s" % (field, calendar_day(value)))
        else:
            number = re.sub(r"[^0-9.\-]", "", field.replace("(", "-"))
            if not number or not close(float(number), value, 2 if kind == "money" else 9):
                fail(where, "shows %r, expected the %s %r" % (field, kind, value))


def check_gnumeric(ssconvert, path, expected, work):
    out = os.path.join(work, "gnumeric.gnumeric")
    subprocess.run([ssconvert, "-T", "Gnumeric_XmlIO:sax", path, out], check=True, capture_output=True, env=ENV)
    root = ET.parse(io.BytesIO(gzip.open(out).read())).getroot()
    ns = {"gnm": "http://www.gnumeric.org/v10.dtd"}
    sheet = root.find("gnm:Sheets/gnm:Sheet", ns)
    regions = [(int(r.get("startRow")), int(r.get("endRow")), int(r.get("startCol")), int(r.get("endCol")),
                r.find("gnm:Style", ns).get("Format")) for r in sheet.findall("gnm:Styles/gnm:StyleRegion", ns)]

    def number_format(row, column):
        return next((f for r0, r1, c0, c1, f in regions if r0 <= row <= r1 and c0 <= column <= c1), "General")

    found = {(int(c.get("Row")), int(c.get("Col"))): (c.get("ValueType"), c.text or "")
             for c in sheet.findall("gnm:Cells/gnm:Cell", ns)}
    for position in sorted(set(found) | set(expected)):
        kind, value = expected.get(position, ("empty", None))
        value_type, text = found.get(position, (None, ""))
        where = "Gnumeric row %d column %d" % position
        fmt = number_format(*position)
        if kind == "text":
            ok = value_type == "60" and text == value
        elif kind == "empty":
            ok = value_type is None
        else:
            ok = value_type == "40" and close(float(text), serial(value) if kind == "date" else value, 12)
            unquoted = re.sub(r'"[^"]*"|\\.|\[[^\]]*\]', "", fmt)
            if kind == "date":
                ok = ok and re.search(r"[dmy]", unquoted, re.I) is not None
            elif kind == "money":
                ok = ok and re.search(r"[$\u20ac\u00a3\u00a5]", fmt) is not None
            else:
                ok = ok and re.search(r"[dmy$\u20ac]", unquoted, re.I) is None
        if not ok:
            fail(where, "holds type %s %r with format %r, expected the %s %r" % (value_type, text, fmt, kind, value))


def check_theirs(workbook_tool, here, work, soffice, ssconvert):
    csv_path = os.path.join(here, "nine-columns.csv")
    makers = {
        "calc": soffice and (lambda out: subprocess.run(
            [soffice, "-env:UserInstallation=file://" + os.path.join(work, "lo-profile"), "--headless",
             "--infilter=CSV:44,34,76,1", "--convert-to", "xls:MS Excel 97", "--outdir", out, csv_path],
            check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, env=ENV)
            and os.path.join(out, "nine-columns.xls")),
        "gnumeric": ssconvert and (lambda out: subprocess.run(
            [ssconvert, "-T", "Gnumeric_Excel:excel_biff8", csv_path, os.path.join(out, "nine-columns.xls")],
            check=True, capture_output=True, env=ENV) and os.path.join(out, "nine-columns.xls")),
    }
    for producer, make in makers.items():
        with open(os.path.join(here, producer + "-nine-columns.expected"), encoding="utf-8") as f:
            expected = f.read()
        files = [os.path.join(here, producer + "-nine-columns.xls")]
        if make:
            out = os.path.join(work, producer + "-saved")
            shutil.rmtree(out, ignore_errors=True)
            os.makedirs(out)
            files.append(make(out))
        for path in files:
            got = tool(workbook_tool, "dump", path)
            if got != expected:
                fail("our reader of " + path, "cells differ from %s-nine-columns.expected:\n%s" % (producer, got))
            else:
                print("%s: %d cells as expected" % (path, len(got.splitlines())))


def main():
    # The tool may come after an emulator that runs it (the 32-bit build).
    workbook_tool, work = sys.argv[1:-1], sys.argv[-1]
    here = os.path.dirname(os.path.abspath(__file__))
    os.makedirs(work, exist_ok=True)
    work = os.path.abspath(work)
    soffice = shutil.which("soffice") or shutil.which("libreoffice")
    ssconvert = shutil.which("ssconvert")
    cells = 0
    global workbook_name
    for sample in ("sample", "strings"):
        workbook_name = sample + ".xls, "
        ours = os.path.join(work, sample + ".xls")
        expected = parse_cells(tool(workbook_tool, sample, ours))
        cells += len(expected)
        for name, program, check in (("LibreOffice", soffice, check_calc), ("Gnumeric", ssconvert, check_gnumeric)):
            if program:
                check(program, ours, expected, work)
            elif name not in missing:
                missing.append(name)
        check_xlrd(ours, expected)
    workbook_name = ""
    check_theirs(workbook_tool, here, work, soffice, ssconvert)
    for message in failures:
        print(message)
    if failures:
        return 1
    if missing:
        print("not here: " + ", ".join(missing) + ": skipped")
        return 77
    print("our workbooks of %d cells read alike by LibreOffice, Gnumeric and xlrd" % cells)
    return 0


if __name__ == "__main__":
    sys.exit(main())

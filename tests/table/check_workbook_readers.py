#!/usr/bin/env python3
"""Our workbooks in other programs, and theirs in ours.

1. workbook_readers_sample writes rows the way the export does into a
   workbook (through the stand-in where it is registered, else through the
   program's own workbook table file) and a CSV file, with the workbook's
   expected cells.  LibreOffice Calc, Gnumeric and xlrd must each find every
   cell with its value and type, by the same checks as the workbook codec's
   own files (tests/workbook/check_with_other_programs.py).
2. LibreOffice saves the CSV file as a workbook; rtconv imports it with every
   data row and no message.
3. LibreOffice saves a sheet whose number cells carry grouping, currency and
   scientific formats as a workbook; rtconv imports every row, and exporting
   the new database shows the same numbers.
"""
import os
import shutil
import subprocess
import sys

import xlrd

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "workbook"))
import check_with_other_programs as readers  # noqa: E402


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def soffice_convert(soffice, work, source, target_format, infilter=None):
    outdir = os.path.join(work, "lo-out")
    shutil.rmtree(outdir, ignore_errors=True)
    command = [soffice, "-env:UserInstallation=file://" + os.path.abspath(os.path.join(work, "lo-profile")),
               "--headless"]
    if infilter:
        command.append("--infilter=" + infilter)
    command += ["--convert-to", target_format, "--outdir", outdir, source]
    subprocess.run(command, check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
    produced = os.listdir(outdir)
    assert len(produced) == 1, produced
    return os.path.join(outdir, produced[0])


def rtconv(wine_run, program, *arguments):
    run = subprocess.run([wine_run, program] + list(arguments), stdin=subprocess.DEVNULL,
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, check=False)
    lines = run.stdout.decode("cp1252").replace("\r", "").splitlines()
    messages = [l for l in lines if l.startswith("message:") and "No Palm Desktop" not in l]
    result = [int(l.split()[1]) for l in lines if l.startswith("result:")]
    return (result[0] if result else None), messages


def import_counts_every_row(wine_run, program, book, work, rows, name):
    database = os.path.join(work, "RoadtallyDB%s.pdb" % name)
    result, messages = rtconv(wine_run, program, "import", windows_path(book), windows_path(database), name)
    ok = result == rows and not messages
    print("%s: import result %r, messages %r" % (name, result, messages))
    return ok, database


FORMATTED_SHEET = """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:automatic-styles>
  <number:number-style style:name="grouped"><number:number number:decimal-places="1" number:min-integer-digits="1" number:grouping="true"/></number:number-style>
  <number:currency-style style:name="money"><number:currency-symbol>$</number:currency-symbol><number:number number:decimal-places="2" number:min-integer-digits="1" number:grouping="true"/></number:currency-style>
  <number:number-style style:name="scientific"><number:scientific-number number:decimal-places="3" number:min-integer-digits="1" number:min-exponent-digits="2"/></number:number-style>
  <number:date-style style:name="day"><number:year number:style="long"/><number:text>-</number:text><number:month number:style="long"/><number:text>-</number:text><number:day number:style="long"/></number:date-style>
  <style:style style:name="c-grouped" style:family="table-cell" style:data-style-name="grouped"/>
  <style:style style:name="c-money" style:family="table-cell" style:data-style-name="money"/>
  <style:style style:name="c-scientific" style:family="table-cell" style:data-style-name="scientific"/>
  <style:style style:name="c-day" style:family="table-cell" style:data-style-name="day"/>
 </office:automatic-styles>
 <office:body><office:spreadsheet><table:table table:name="Log">
  <table:table-row>%s</table:table-row>
  %s
 </table:table></office:spreadsheet></office:body></office:document>
"""

# Mileage with grouping, price as money, fill-up in scientific notation.
FORMATTED_ROWS = [("2005-12-31", 12345.6, 1234.56, 45.23), ("2006-01-15", 123456.7, 19.99, 0.5),
                  ("2006-02-01", 1000.0, -2.5, 1234.5)]


def formatted_sheet():
    heading = "".join('<table:table-cell office:value-type="string"><text:p>%s</text:p></table:table-cell>' % h
                      for h in ("Date", "Mileage (km)", "Price ($)", "Fill-up (l)"))
    rows = []
    for day, mileage, price, fill in FORMATTED_ROWS:
        rows.append(
            "<table:table-row>"
            '<table:table-cell table:style-name="c-day" office:value-type="date" office:date-value="%s"/>'
            '<table:table-cell table:style-name="c-grouped" office:value-type="float" office:value="%r"/>'
            '<table:table-cell table:style-name="c-money" office:value-type="currency" office:currency="USD" '
            'office:value="%r"/>'
            '<table:table-cell table:style-name="c-scientific" office:value-type="float" office:value="%r"/>'
            "</table:table-row>" % (day, mileage, price, fill))
    return FORMATTED_SHEET % (heading, "\n".join(rows))


def main():
    wine_run, sample, program, soffice, ssconvert, work = sys.argv[1:7]
    os.makedirs(work, exist_ok=True)
    book = os.path.join(work, "sample.xls")
    table = os.path.join(work, "sample.csv")
    expected_path = os.path.join(work, "sample.expected")
    for path in (book, table, expected_path):
        if os.path.exists(path):
            os.remove(path)
    run = subprocess.run([wine_run, sample, windows_path(book), windows_path(table), windows_path(expected_path)],
                         stdin=subprocess.DEVNULL, check=False)
    if run.returncode != 0:
        print("the sample failed: %d" % run.returncode)
        return 1
    with open(expected_path, encoding="utf-8") as f:
        expected = readers.parse_cells(f.read())

    problems = []
    work = os.path.abspath(work)
    for name, reader, check in (("LibreOffice", soffice, readers.check_calc),
                                ("Gnumeric", ssconvert, readers.check_gnumeric)):
        if reader and shutil.which(reader):
            check(reader, book, expected, work)
        else:
            problems.append(name + " not found")
    readers.check_xlrd(book, expected)
    problems += readers.failures + [name + " not found" for name in readers.missing]
    print("%d cells in LibreOffice Calc, Gnumeric and xlrd: %d differences" % (len(expected), len(problems)))

    if soffice and shutil.which(soffice):
        # The CSV file: separator ",", quote, Windows-1252 (1), from line 1,
        # dates in the user's short date order (the language of the locale).
        language = 1031 if os.environ.get("LC_ALL", "").startswith("de") else 1033
        saved = soffice_convert(soffice, work, table, 'xls:MS Excel 97', "CSV:44,34,1,1,,%d" % language)
        ok, _ = import_counts_every_row(wine_run, program, saved, work, 3, "FromCsv")
        if not ok:
            problems.append("the workbook LibreOffice saved from the CSV file did not import every row")

        flat = os.path.join(work, "formatted.fods")
        with open(flat, "w", encoding="utf-8") as f:
            f.write(formatted_sheet())
        saved = soffice_convert(soffice, work, flat, 'xls:MS Excel 97')
        ok, database = import_counts_every_row(wine_run, program, saved, work, len(FORMATTED_ROWS), "Formatted")
        if not ok:
            problems.append("the workbook with formatted numbers did not import every row")
        else:
            back = os.path.join(work, "formatted-back.xls")
            if os.path.exists(back):
                os.remove(back)
            rtconv(wine_run, program, "export", windows_path(database), windows_path(back))
            sheet = xlrd.open_workbook(back).sheet_by_index(0)
            for i, (_, mileage, price, fill) in enumerate(FORMATTED_ROWS):
                got = [sheet.cell_value(i + 1, c) for c in (1, 2, 3)]
                if any(abs(a - b) > 1e-9 for a, b in zip(got, (mileage, price, fill))):
                    problems.append("formatted row %d came back as %r" % (i + 1, got))
            print("formatted numbers: %d rows compared" % len(FORMATTED_ROWS))

    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""A CSV file we write opens in LibreOffice Calc with the same cells.

Runs csv_calc_sample under Wine for a few separators, lets LibreOffice read
each file (separator given, quote ", Windows-1252, quoted fields as text) and
write it back as tab-separated UTF-8, and compares every cell with what the
sample says the spreadsheet must show.  Exit 77 (skipped) without LibreOffice.
"""
import csv
import os
import shutil
import subprocess
import sys


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def main():
    wine_run, sample, soffice, work = sys.argv[1:5]
    if not soffice or not shutil.which(soffice):
        print("LibreOffice (soffice) not found: skipped")
        return 77
    os.makedirs(work, exist_ok=True)
    profile = "file://" + os.path.abspath(os.path.join(work, "lo-profile"))
    failures = 0
    for name, separator in (("comma", ","), ("semicolon", ";"), ("tab", "\t")):
        written = os.path.join(work, name + ".csv")
        expected_path = os.path.join(work, name + ".expected")
        subprocess.run([wine_run, sample, windows_path(written), windows_path(expected_path), separator],
                       check=True, stdin=subprocess.DEVNULL)
        outdir = os.path.join(work, name + "-calc")
        shutil.rmtree(outdir, ignore_errors=True)
        # Import: separator, quote, Windows-1252 (1), from line 1, default
        # column formats, English, quoted fields as text, no number detection.
        # Export: tab, quote, UTF-8 (76), from line 1, quote every text cell.
        subprocess.run([soffice, "-env:UserInstallation=" + profile, "--headless",
                        "--infilter=CSV:%d,34,1,1,,1033,true,false" % ord(separator),
                        "--convert-to", "csv:Text - txt - csv (StarCalc):9,34,76,1,,0,true,true",
                        "--outdir", outdir, written],
                       check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
        with open(os.path.join(outdir, name + ".csv"), newline="", encoding="utf-8") as f:
            shown = [row for row in csv.reader(f, delimiter="\t")]
        with open(expected_path, encoding="ascii") as f:
            expected = [[bytes.fromhex(cell).decode("cp1252") for cell in line.rstrip("\n").split("\t")]
                        for line in f]
        # Calc leaves trailing empty cells of a row out.
        expected = [cells[:max([i + 1 for i, c in enumerate(cells) if c] or [0])] for cells in expected]
        shown = [cells[:max([i + 1 for i, c in enumerate(cells) if c] or [0])] for cells in shown]
        if shown != expected:
            failures += 1
            print("separator %r: Calc shows\n  %r\nexpected\n  %r" % (separator, shown, expected))
        else:
            print("separator %r: %d rows, cells as written" % (separator, len(shown)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

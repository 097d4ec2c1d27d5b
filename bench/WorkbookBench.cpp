// Writes a workbook of a heading row and 65,535 rows of the program's nine
// columns (the most a handheld database holds), reads it back, and copies a
// file of the same size for comparison.  Prints the times of each step.
//   workbook_bench [FOLDER]   (default: the system's temporary folder)
#include "Workbook.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace workbook;
using Clock = std::chrono::steady_clock;

constexpr int kRows = 65535;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

Cell Number(CellKind kind, double value) { return {kind, value, {}}; }
Cell Text(std::u16string text) { return {CellKind::Text, 0, std::move(text)}; }

Sheet FillUps() {
    Sheet sheet;
    const char16_t* headings[] = {u"Date", u"Mileage (km)", u"Price (\u20AC)", u"Fill-up (l)",
                                  u"Partial Fill-up/Missing Fill-up/Recurring Cost", u"Note", u"Category",
                                  u"Recurring Cost End Date", u"Recurring Cost Interval (months)"};
    for (int column = 0; column < 9; ++column) sheet.SetCell(0, column, Text(headings[column]));
    for (int i = 0; i < kRows; ++i) {
        const int row = i + 1;
        sheet.SetCell(row, 0, Number(CellKind::Date, 36892 + i % 10000));
        sheet.SetCell(row, 1, Number(CellKind::Number, (100000 + i * 37) * 0.1));
        sheet.SetCell(row, 2, Number(CellKind::Money, (4000 + i % 5000) * 0.01));
        sheet.SetCell(row, 3, Number(CellKind::Number, (40000 + i % 30000) * 0.001));
        sheet.SetCell(row, 4, Text(i % 7 == 0 ? u"p" : i % 11 == 0 ? u"r" : u""));
        sheet.SetCell(row, 5, Text(u"Filled up at the \"corner\" station, " + std::u16string(1, u'A' + i % 26) +
                                   u"\ntyres checked: " + std::u16string(i % 13, u'\u20AC')));
        sheet.SetCell(row, 6, Text(i % 3 ? u"Fuel" : u"Service, yearly"));
        if (i % 11 == 0) {
            sheet.SetCell(row, 7, Number(CellKind::Date, 47848));
            sheet.SetCell(row, 8, Number(CellKind::Number, 12));
        }
    }
    return sheet;
}

bool SameCells(const Sheet& a, const Sheet& b) {
    for (int row = 0; row <= kRows; ++row)
        for (int column = 0; column < 9; ++column) {
            const Cell& x = a.GetCell(row, column);
            const Cell& y = b.GetCell(row, column);
            if (x.kind != y.kind || x.number != y.number || x.text != y.text) return false;
        }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    const fs::path path = folder / "workbook_bench.xls", copy = folder / "workbook_bench_copy.xls";

    Clock::time_point start = Clock::now();
    const Sheet sheet = FillUps();
    const double fillSeconds = Since(start);

    start = Clock::now();
    const std::vector<std::uint8_t> bytes = WriteWorkbook(sheet);
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
            return 1;
        }
    }
    const double writeSeconds = Since(start);

    start = Clock::now();
    Sheet read;
    std::string error;
    {
        std::ifstream in(path, std::ios::binary);
        const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (!ReadWorkbook(file.data(), file.size(), read, error)) {
            std::fprintf(stderr, "cannot read back: %s\n", error.c_str());
            return 1;
        }
    }
    const double readSeconds = Since(start);
    if (!SameCells(sheet, read)) {
        std::fprintf(stderr, "the cells read back differ from those written\n");
        return 1;
    }

    start = Clock::now();
    fs::copy_file(path, copy, fs::copy_options::overwrite_existing);
    const double copySeconds = Since(start);

    std::printf("%d rows of 9 columns, %.1f MB\n", kRows + 1, static_cast<double>(bytes.size()) / 1e6);
    std::printf("fill the sheet     %.3f s\n", fillSeconds);
    std::printf("write the file     %.3f s\n", writeSeconds);
    std::printf("read it back       %.3f s\n", readSeconds);
    std::printf("copy the file      %.3f s\n", copySeconds);
    fs::remove(path);
    fs::remove(copy);
    return 0;
}

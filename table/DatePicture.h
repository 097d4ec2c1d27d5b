#pragma once
// A date picture of the locale functions ("d.M.yyyy", "dd 'de' MMMM 'de'
// yyyy", ...) taken apart once, so that dates can be spelled, and plain
// numeric dates read, without a trip to the system per date.  Free of any
// platform call: the names a picture uses are handed in.
#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// The texts a picture's name elements stand for, as the locale gives them.
struct DateNames {
    std::array<std::string, 12> months;        // MMMM, January first
    std::array<std::string, 12> shortMonths;   // MMM
    // The forms a month name takes after a day ("8 Sept." in German).
    std::array<std::string, 12> dayMonths;
    std::array<std::string, 12> dayShortMonths;
    std::array<std::string, 7> weekdays;       // dddd, Monday first
    std::array<std::string, 7> shortWeekdays;  // ddd
    std::map<int, std::string> eras;           // a run of g of that length
};

class CDatePicture {
public:
    enum class Kind { Literal, Day, Weekday, Month, MonthName, Year, Era };
    struct Element {
        Kind kind;
        int letters;       // the length of the letter run (d, dd, ddd, ...)
        std::string text;  // Literal: the text itself
        bool afterDay;     // MonthName: the last run of d before it is a day number
    };

    // Letter runs of d, M, y and g are elements; text in single quotes is
    // literal, a doubled quote inside it standing for one quote and a quote
    // never closed running to the end; every other character is literal.
    explicit CDatePicture(std::string_view picture);

    const std::vector<Element>& Elements() const { return m_elements; }

    // The date spelled by the picture: d and M without, dd and MM with a
    // leading zero, y and yy the last two digits, three or more y the whole
    // year; a month name in its form after a day where the last run of d
    // before it is a day number; weekday 0 is Monday.
    std::string Spell(const DateNames& names, int year, int month, int day, int weekday) const;
    // The picture names the weekday (Spell needs it worked out).
    bool NamesWeekday() const;

    // The picture reads plain numbers: one day, one month and a whole year
    // (three or more y), with literal text free of digits between them, and
    // no name.
    bool IsNumeric() const { return m_numeric; }
    // Reads text made exactly as a numeric picture spells a real date with a
    // four-digit year (day and month with one or two digits); false for
    // anything else.
    bool ReadNumeric(std::string_view text, int& year, int& month, int& day) const;

private:
    std::vector<Element> m_elements;
    bool m_numeric = false;
};

#pragma once
#include "DatePicture.h"
#include "LocalTime.h"

#include <string>
#include <string_view>

// The user's short date, read from the locale once: spells a day exactly as
// GetDateFormatA spells it with DATE_SHORTDATE, and reads a text exactly as
// VarDateFromStr reads it, at memory speed where it can.  The picture and its
// names are checked against the system at a set of sample days when read; a
// picture spelled differently there (another calendar, names in another
// form) is left to the system, as is every text that is not a plain numeric
// date in the picture's own order and separators with a four-digit year.
class CShortDate {
public:
    // Reads the user default locale's picture and names now.
    CShortDate();

    // Empty when the system cannot spell the day (a text of 100 characters
    // or more does not fit its buffer).
    std::string Spell(int year, int month, int day) const;
    // false when the text is no date or time; the fields the text does not
    // give are 0.
    bool Read(std::string_view text, LocalTimeFields& parsed) const;

    // Whether the program's own code spells and reads, for the benchmarks.
    bool SpellsItself() const { return m_spellsItself; }
    bool ReadsNumbersItself() const { return m_readsNumbersItself; }

private:
    std::string m_pictureText;
    CDatePicture m_picture;
    DateNames m_names;
    bool m_spellsItself = false;
    bool m_readsNumbersItself = false;
};

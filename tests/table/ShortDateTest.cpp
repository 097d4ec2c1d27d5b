// The user's short date spelled and read by the program's own code, held
// against the system's own spelling (GetDateFormatA) and reading
// (VarDateFromStr): at every handheld day, and at texts that only look like
// dates, under the running locale (the test command runs English and German)
// and under user pictures written over the locale's own.
#include "CsvTableFile.h"
#include "RegKey.h"
#include "ShortDate.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <oleauto.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr char kInternational[] = "Control Panel\\International";

// The user's short-date picture replaced for the life of the holder, the old
// one put back (or the value removed) when it goes.
class ScopedShortDatePicture {
public:
    explicit ScopedShortDatePicture(const char* picture)
        : m_key(CRegKey::Open(HKEY_CURRENT_USER, kInternational, KEY_QUERY_VALUE | KEY_SET_VALUE)) {
        if (picture == nullptr || !m_key) return;
        m_hadOld = m_key.QueryString("sShortDate", m_old);
        m_key.SetString("sShortDate", picture);
    }
    ~ScopedShortDatePicture() {
        if (!m_key) return;
        if (m_hadOld)
            m_key.SetString("sShortDate", m_old);
        else
            RegDeleteValueA(m_key.Get(), "sShortDate");
    }
    ScopedShortDatePicture(const ScopedShortDatePicture&) = delete;
    ScopedShortDatePicture& operator=(const ScopedShortDatePicture&) = delete;

private:
    CRegKey m_key;
    bool m_hadOld = false;
    std::string m_old;
};

std::string UserPicture() {
    char buffer[100] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, buffer, sizeof buffer);
    return buffer;
}

// VarDateFromStr's answer, as text for the comparisons: "no date" or the
// fields it gives.
std::string SystemReading(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    DATE date = 0;
    SYSTEMTIME st;
    if (FAILED(VarDateFromStr(&wide[0], LANG_USER_DEFAULT, 0, &date)) || !VariantTimeToSystemTime(date, &st))
        return "no date";
    std::ostringstream fields;
    fields << st.wYear << "-" << st.wMonth << "-" << st.wDay << " " << st.wHour << ":" << st.wMinute << ":"
           << st.wSecond;
    return fields.str();
}

std::string OurReading(const CShortDate& dates, const std::string& text) {
    LocalTimeFields f{};
    if (!dates.Read(text, f)) return "no date";
    std::ostringstream fields;
    fields << f.year << "-" << f.month << "-" << f.day << " " << f.hour << ":" << f.minute << ":" << f.second;
    return fields.str();
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Texts made from the picture's own spelling that only look like dates:
// two-digit and odd years, parts missing, extra blanks, other separators,
// days that do not exist, letters, and a few fixed ones.
std::vector<std::string> LookAlikes(const CShortDate& dates) {
    std::vector<std::string> texts = {"31.02.2005", "31/02/2005", "2005-02-31", "12/31", "31.12", "2005", "1.2.3",
                                      "abc",        "12:30",      "5.6.2005 10:00", "Dec 31, 2005", "0.0.0",
                                      "31. Dezember 2005", "2005/12/31", "12-31-2005", "1.1.10000"};
    const std::string base = dates.Spell(2005, 12, 31);
    const std::string february = dates.Spell(2005, 2, 28);
    texts.push_back(ReplaceAll(february, "28", "31"));
    texts.push_back(ReplaceAll(february, "28", "29"));
    texts.push_back(ReplaceAll(dates.Spell(2004, 2, 28), "28", "29"));
    texts.push_back(ReplaceAll(dates.Spell(2005, 11, 30), "30", "31"));
    texts.push_back(ReplaceAll(dates.Spell(2005, 6, 7), "7", "0"));
    texts.push_back(ReplaceAll(dates.Spell(2005, 6, 7), "7", "007"));
    texts.push_back(ReplaceAll(dates.Spell(2005, 9, 8), "9", "13"));
    for (const char* year : {"05", "5", "0995", "995", "1799", "1800", "1869", "1931", "1932", "2099", "9999", "10000"})
        texts.push_back(ReplaceAll(base, "2005", year));
    for (const std::string& day : {base, dates.Spell(1999, 7, 4)}) {
        std::size_t first = std::string::npos, last = std::string::npos;
        for (std::size_t i = 0; i < day.size(); ++i)
            if (!IsDigit(day[i])) {
                if (first == std::string::npos) first = i;
                last = i;
            }
        if (first == std::string::npos) continue;
        texts.push_back(day.substr(0, last));          // the last part missing
        texts.push_back(day.substr(first + 1));        // the first part missing
        texts.push_back(day.substr(0, first) + "  " + day.substr(first));  // a blank before a separator
        texts.push_back(day.substr(0, first + 1) + " " + day.substr(first + 1));
        texts.push_back(day + "x");
        texts.push_back("x" + day);
        for (const char* other : {"/", "-", ".", " ", ",", ":"}) {
            std::string changed = day;
            for (char& c : changed)
                if (!IsDigit(c) && !(c >= 'A' && c <= 'Z') && !(c >= 'a' && c <= 'z')) c = other[0];
            texts.push_back(changed);
        }
        std::string letter = day;
        for (char& c : letter)
            if (c == '0') c = 'O';
        texts.push_back(letter);
    }
    return texts;
}

struct PictureCase {
    const char* name;
    const char* picture;  // nullptr: the locale's own
    bool readsNumbers;    // a numeric picture the system reads in its own order
    // false: a month name before the day, whose form the system chooses by
    // rules of its own; where they differ from ours the system spells.
    bool mustSpellItself = true;
};

void PrintTo(const PictureCase& param, std::ostream* out) { *out << (param.picture ? param.picture : "own"); }

class ShortDateSameness : public testing::TestWithParam<PictureCase> {};

}  // namespace

TEST_P(ShortDateSameness, EveryHandheldDayAndEveryLookAlikeAsTheSystemHasIt) {
    const PictureCase& param = GetParam();
    ScopedShortDatePicture picture(param.picture);
    if (param.picture != nullptr) {
        ASSERT_EQ(UserPicture(), param.picture)
            << "the system reads the user's picture once per process: run each case on its own, as ctest does";
    }
    const CShortDate dates;
    // Sameness the system's own calls would give for free: the program's
    // code must be the one doing the work.
    if (param.mustSpellItself) {
        EXPECT_TRUE(dates.SpellsItself());
    }
    EXPECT_EQ(dates.ReadsNumbersItself(), param.readsNumbers);

    int wrongSpellings = 0, wrongReadings = 0;
    std::vector<CalendarTime> noons;
    std::string expectedFile;
    for (std::int64_t day = 0;; ++day) {
        const LocalTimeFields f =
            localtime_detail::PlainFields(localtime_detail::PlainSeconds({1904, 1, 1, 0, 0, 0}) + day * 86400);
        if (f.year > 2031) break;
        const std::string system = LocaleDate(f.year, f.month, f.day);
        noons.push_back(FromLocalFields({f.year, f.month, f.day, 12, 0, 0}));
        expectedFile += "\"" + system + "\"\r\n";
        const std::string ours = dates.Spell(f.year, f.month, f.day);
        if (ours != system && ++wrongSpellings <= 3)
            ADD_FAILURE() << f.year << "-" << f.month << "-" << f.day << ": " << ours << " for " << system;
        if (OurReading(dates, system) != SystemReading(system) && ++wrongReadings <= 3)
            ADD_FAILURE() << system << ": " << OurReading(dates, system) << " for " << SystemReading(system);
    }
    EXPECT_EQ(wrongSpellings, 0);
    EXPECT_EQ(wrongReadings, 0);

    // The same days through a table file, which reads the picture once.
    const std::string path = testing::TempDir() + "short-date-" + param.name + ".csv";
    {
        CCsvTableFile table;
        ASSERT_EQ(table.OpenForWrite(path), 0);
        for (CalendarTime noon : noons) {
            table.WriteDate(noon);
            table.EndRow();
        }
        table.FinishWrite();
    }
    EXPECT_TRUE(ReadFileBytes(path) == expectedFile);

    for (const std::string& text : LookAlikes(dates))
        EXPECT_EQ(OurReading(dates, text), SystemReading(text)) << "\"" << text << "\"";
}

// The pictures a user may set: orders, two-digit years, names, words in
// quotes, a quote in the picture, an era, and names the numbers cannot be
// told from.
INSTANTIATE_TEST_SUITE_P(
    Pictures, ShortDateSameness,
    testing::Values(PictureCase{"LocaleOwn", nullptr, true}, PictureCase{"YearFirst", "yyyy-MM-dd", true},
                    PictureCase{"TwoDigitYear", "dd/MM/yy", false}, PictureCase{"MonthName", "d. MMMM yyyy", false},
                    PictureCase{"WeekdayFirst", "ddd, dd.MM.yyyy", false},
                    PictureCase{"QuotedWords", "dd 'de' MMMM 'de' yyyy", false},
                    PictureCase{"DoubledQuote", "d MMM ''yy", false},
                    PictureCase{"QuoteInWords", "'week''s' d.M.yyyy", false},
                    PictureCase{"DayFirstPadded", "dd.MM.yyyy", true}, PictureCase{"MonthFirst", "M/d/yyyy", true},
                    PictureCase{"TrailingDot", "yyyy. MM. dd.", false}, PictureCase{"Era", "gg yyyy/M/d", false},
                    PictureCase{"LongNames", "dddd, MMMM d, yyyy", false},
                    PictureCase{"MonthNameFirst", "MMM d, ddd yyyy", false, false},
                    PictureCase{"ShortYears", "y/M/d yyy", false}),
    [](const testing::TestParamInfo<PictureCase>& info) { return std::string(info.param.name); });

#include "ShortDate.h"

#include "CsvDialect.h"

#include <windows.h>
#include <oleauto.h>

#include <cstdint>

namespace {
// The buffer the system spells into.
constexpr int kSpellBufferSize = 100;

std::string LocaleText(LCTYPE type) {
    char buffer[kSpellBufferSize];
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, kSpellBufferSize) <= 0) return std::string();
    return buffer;
}

// A month name in its form after a day; the plain form where the locale has
// no other.  Asked in wide characters (the ANSI call does not give this
// form) and turned into the locale's ANSI code page, as the ANSI calls do.
std::string DayMonthName(LCTYPE type, const std::string& plain) {
    wchar_t wide[kSpellBufferSize];
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type | LOCALE_RETURN_GENITIVE_NAMES, wide, kSpellBufferSize) <= 0)
        return plain;
    UINT codePage = CP_ACP;
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                   reinterpret_cast<char*>(&codePage), sizeof codePage);
    char text[kSpellBufferSize];
    if (WideCharToMultiByte(codePage, 0, wide, -1, text, kSpellBufferSize, nullptr, nullptr) <= 0) return plain;
    return text;
}

std::int64_t DaysSince1970(int year, int month, int day) {
    return localtime_detail::PlainSeconds({year, month, day, 0, 0, 0}) / 86400;
}

// 1970-01-01 was a Thursday.
int WeekdayFromMonday(int year, int month, int day) {
    return static_cast<int>(((DaysSince1970(year, month, day) % 7) + 7 + 3) % 7);
}

// The day spelled by the system with the given picture (nullptr: the short
// date), on the current time of day as the program always handed it over.
std::string SystemSpelling(int year, int month, int day, const char* picture) {
    SYSTEMTIME st;
    GetLocalTime(&st);
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wDayOfWeek = static_cast<WORD>((WeekdayFromMonday(year, month, day) + 1) % 7);  // Sunday is 0
    char buffer[kSpellBufferSize];
    const DWORD flags = picture == nullptr ? DATE_SHORTDATE : 0;
    if (GetDateFormatA(LOCALE_USER_DEFAULT, flags, &st, picture, buffer, kSpellBufferSize) <= 0)
        return std::string();
    return buffer;
}

bool SystemReading(std::string_view text, LocalTimeFields& parsed) {
    const int size = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (wideLength <= 0) return false;
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], wideLength);
    DATE date = 0;
    SYSTEMTIME st;
    if (FAILED(VarDateFromStr(&wide[0], LANG_USER_DEFAULT, 0, &date)) || !VariantTimeToSystemTime(date, &st))
        return false;
    parsed = {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
    return true;
}

// Sample days the picture is checked at: every month, every weekday, days
// and months of one and two digits, a leap day, both ends of the handheld's
// years, and days whose day and month could be taken for each other.
struct SampleDay {
    int year, month, day;
};
constexpr SampleDay kSampleDays[] = {
    {1904, 1, 1},   {1999, 2, 13},  {2000, 2, 29},  {2001, 3, 4},   {2002, 4, 15},  {2003, 5, 6},
    {2004, 6, 17},  {2005, 7, 8},   {2006, 8, 19},  {2007, 9, 10},  {2008, 10, 21}, {2009, 11, 2},
    {2010, 12, 23}, {2005, 5, 12},  {2005, 12, 5},  {1987, 1, 11},  {2031, 12, 25}, {2031, 12, 26},
    {2031, 12, 27}, {2031, 12, 28}, {2031, 12, 29}, {2031, 12, 30}, {2031, 12, 31},
};
}  // namespace

CShortDate::CShortDate() : m_pictureText(LocaleText(LOCALE_SSHORTDATE)), m_picture(m_pictureText) {
    if (m_pictureText.empty()) return;
    for (int i = 0; i < 12; ++i) {
        m_names.months[i] = LocaleText(LOCALE_SMONTHNAME1 + i);
        m_names.shortMonths[i] = LocaleText(LOCALE_SABBREVMONTHNAME1 + i);
        m_names.dayMonths[i] = DayMonthName(LOCALE_SMONTHNAME1 + i, m_names.months[i]);
        m_names.dayShortMonths[i] = DayMonthName(LOCALE_SABBREVMONTHNAME1 + i, m_names.shortMonths[i]);
    }
    for (int i = 0; i < 7; ++i) {
        m_names.weekdays[i] = LocaleText(LOCALE_SDAYNAME1 + i);
        m_names.shortWeekdays[i] = LocaleText(LOCALE_SABBREVDAYNAME1 + i);
    }
    for (const CDatePicture::Element& element : m_picture.Elements()) {
        if (element.kind != CDatePicture::Kind::Era || m_names.eras.count(element.letters)) continue;
        const std::string letters(static_cast<std::size_t>(element.letters), 'g');
        m_names.eras[element.letters] = SystemSpelling(2005, 7, 8, letters.c_str());
    }

    m_spellsItself = true;
    m_readsNumbersItself = m_picture.IsNumeric();
    for (const SampleDay& sample : kSampleDays) {
        const std::string system = SystemSpelling(sample.year, sample.month, sample.day, nullptr);
        m_spellsItself = m_spellsItself && !system.empty() &&
                         m_picture.Spell(m_names, sample.year, sample.month, sample.day,
                                         WeekdayFromMonday(sample.year, sample.month, sample.day)) == system;
        if (!m_readsNumbersItself) continue;
        const std::string_view text = csv::TrimWhiteSpace(system);
        LocalTimeFields ours{}, theirs{};
        m_readsNumbersItself = m_picture.ReadNumeric(text, ours.year, ours.month, ours.day) &&
                               SystemReading(text, theirs) && ours.year == theirs.year &&
                               ours.month == theirs.month && ours.day == theirs.day && theirs.hour == 0 &&
                               theirs.minute == 0 && theirs.second == 0;
    }
}

std::string CShortDate::Spell(int year, int month, int day) const {
    if (!m_spellsItself) return SystemSpelling(year, month, day, nullptr);
    const int weekday = m_picture.NamesWeekday() ? WeekdayFromMonday(year, month, day) : 0;
    std::string text = m_picture.Spell(m_names, year, month, day, weekday);
    // What the system's buffer could not hold, the system does not spell.
    if (text.size() >= static_cast<std::size_t>(kSpellBufferSize)) text.clear();
    return text;
}

bool CShortDate::Read(std::string_view text, LocalTimeFields& parsed) const {
    if (m_readsNumbersItself && m_picture.ReadNumeric(text, parsed.year, parsed.month, parsed.day)) {
        parsed.hour = parsed.minute = parsed.second = 0;
        return true;
    }
    return SystemReading(text, parsed);
}

#include "DatePicture.h"

#include "ShortText.h"

#include <algorithm>
#include <charconv>

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

CDatePicture::Kind KindOf(char letter, int letters) {
    switch (letter) {
    case 'd': return letters <= 2 ? CDatePicture::Kind::Day : CDatePicture::Kind::Weekday;
    case 'M': return letters <= 2 ? CDatePicture::Kind::Month : CDatePicture::Kind::MonthName;
    case 'y': return CDatePicture::Kind::Year;
    default: return CDatePicture::Kind::Era;
    }
}

// printf's "%d", or "%02d" with twoDigits.
void AppendNumber(std::string& out, int value, bool twoDigits) {
    if (twoDigits && value >= 0 && value < 10) out += '0';
    char digits[16];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// Takes 1 to maxDigits digits off the front of text (exactly maxDigits when
// exact is set); false when there are not so many, or more follow.
bool TakeNumber(std::string_view& text, std::size_t maxDigits, bool exact, int& value) {
    std::size_t length = 0;
    while (length < text.size() && IsDigit(text[length])) ++length;
    if (length == 0 || length > maxDigits || (exact && length != maxDigits)) return false;
    value = 0;
    for (std::size_t i = 0; i < length; ++i) value = value * 10 + (text[i] - '0');
    text.remove_prefix(length);
    return true;
}
}  // namespace

CDatePicture::CDatePicture(std::string_view picture) {
    auto appendLiteral = [this](std::string_view text) {
        if (m_elements.empty() || m_elements.back().kind != Kind::Literal)
            m_elements.push_back({Kind::Literal, 0, std::string(), false});
        m_elements.back().text += text;
    };
    bool afterDay = false;
    std::size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '\'') {
            std::string quoted;
            for (++i; i < picture.size(); ++i) {
                if (picture[i] != '\'') {
                    quoted += picture[i];
                } else if (i + 1 < picture.size() && picture[i + 1] == '\'') {
                    quoted += '\'';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
            if (!quoted.empty()) appendLiteral(quoted);
        } else if (c == 'd' || c == 'M' || c == 'y' || c == 'g') {
            std::size_t end = i;
            while (end < picture.size() && picture[end] == c) ++end;
            const int letters = static_cast<int>(end - i);
            const Kind kind = KindOf(c, letters);
            if (c == 'd') afterDay = kind == Kind::Day;
            m_elements.push_back({kind, letters, std::string(), afterDay});
            i = end;
        } else {
            appendLiteral(picture.substr(i, 1));
            ++i;
        }
    }

    int days = 0, months = 0, years = 0;
    bool literalBetween = true;  // nothing before the first number
    bool numeric = true;
    for (const Element& element : m_elements) {
        if (element.kind == Kind::Literal) {
            for (char c : element.text) numeric = numeric && !IsDigit(c);
            literalBetween = true;
            continue;
        }
        // Two numbers side by side could not be told apart.
        numeric = numeric && literalBetween;
        literalBetween = false;
        if (element.kind == Kind::Day) ++days;
        else if (element.kind == Kind::Month) ++months;
        else if (element.kind == Kind::Year && element.letters >= 3) ++years;
        else numeric = false;
    }
    m_numeric = numeric && days == 1 && months == 1 && years == 1;
}

std::string CDatePicture::Spell(const DateNames& names, int year, int month, int day, int weekday) const {
    std::string out;
    for (const Element& element : m_elements) {
        switch (element.kind) {
        case Kind::Literal: out += element.text; break;
        case Kind::Day: AppendNumber(out, day, element.letters == 2); break;
        case Kind::Weekday:
            out += element.letters == 3 ? names.shortWeekdays[weekday] : names.weekdays[weekday];
            break;
        case Kind::Month: AppendNumber(out, month, element.letters == 2); break;
        case Kind::MonthName:
            if (element.letters == 3)
                out += (element.afterDay ? names.dayShortMonths : names.shortMonths)[month - 1];
            else
                out += (element.afterDay ? names.dayMonths : names.months)[month - 1];
            break;
        case Kind::Year:
            if (element.letters <= 2)
                AppendNumber(out, year % 100, true);
            else
                AppendNumber(out, year, false);
            break;
        case Kind::Era: {
            const auto era = names.eras.find(element.letters);
            if (era != names.eras.end()) out += era->second;
            break;
        }
        }
    }
    return out;
}

bool CDatePicture::NamesWeekday() const {
    return std::any_of(m_elements.begin(), m_elements.end(),
                       [](const Element& element) { return element.kind == Kind::Weekday; });
}

bool CDatePicture::ReadNumeric(std::string_view text, int& year, int& month, int& day) const {
    if (!m_numeric) return false;
    int y = 0, m = 0, d = 0;
    for (const Element& element : m_elements) {
        switch (element.kind) {
        case Kind::Literal:
            if (!StartsWithShortText(text, element.text)) return false;
            text.remove_prefix(element.text.size());
            break;
        case Kind::Day:
            if (!TakeNumber(text, 2, false, d)) return false;
            break;
        case Kind::Month:
            if (!TakeNumber(text, 2, false, m)) return false;
            break;
        default:
            // A leading zero is left to the system: it may read "0995" unlike 995.
            if (text.empty() || text[0] == '0' || !TakeNumber(text, 4, true, y)) return false;
            break;
        }
    }
    if (!text.empty() || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return false;
    year = y;
    month = m;
    day = d;
    return true;
}

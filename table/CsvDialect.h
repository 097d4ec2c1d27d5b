#pragma once
// The CSV dialect of our table files, free of any platform call: how a cell
// is escaped for writing, how a line is read off a byte stream, how a line is
// split into cells and how number cells are read.  CCsvTableFile puts these
// together with the file and the locale's date functions.
#include "RowText.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace csv {

// One read of a line takes at most this many bytes, line end included (the
// line buffer holds one more, for its terminating zero).  A longer line is cut
// there and the rest arrives as the next line.
constexpr std::size_t kLineBufferSize = 10000;
constexpr std::size_t kMaxLineBytes = kLineBufferSize - 1;

// The bytes a line is read from, as many at a time as the source holds.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // The next bytes, at least one unless the data has ended; they stay the
    // next bytes until taken, and stay in place, taken or not, until the next
    // Peek.
    virtual std::string_view Peek() = 0;
    // Takes the first count bytes (at most what Peek showed).
    virtual void Take(std::size_t count) = 0;
};

// Appends the text of a written cell, before the enclosing quotes go round
// it: every quote doubled, every CR dropped (so CR LF only ever ends a row),
// every LF kept, or made a blank when lineFeedAsBlank is set.  The text ends
// at its first zero byte, like every text of the program.
void AppendCsvText(CRowText& out, std::string_view text, bool lineFeedAsBlank);

// Reads the next line, without its CR LF: up to and including the first
// CR LF, or up to the end of the data, or kMaxLineBytes bytes, whichever
// comes first.  A lone CR or LF stays in the line.  A zero byte ends the
// line's text (the bytes after it up to the line end are dropped).  false when
// not one byte was left.  line shows the line where the source's bytes hold
// it whole (valid until the source's next Peek), or else in spill, where it
// is put together.
bool ReadCsvLine(ByteSource& source, std::string& spill, std::string_view& line);

// Takes the next cell off the front of rest (the unread part of the current
// line) and returns its text.  A cell that begins with a quote is a quoted
// cell: it runs to a quote followed by the separator or by the end of the
// line, a doubled quote inside it stands for one quote, and any other quote
// inside it is kept.  Any other cell runs to the next separator.  The
// separator after a cell is consumed.  Only a separator of exactly one
// character separates cells; with any other, the first cell takes the whole
// line.  An exhausted line gives empty cells.  The text is a view into
// rest's line, or, where a quote is kept inside a quoted cell, into unquoted,
// which then holds it: either lasts until the line or unquoted changes.
std::string_view TakeCsvCell(std::string_view& rest, std::string_view separator, std::string& unquoted);

// White space (blank, tab, CR, LF, vertical tab, form feed) cut off both ends.
// Inline: every number and date cell of an import is trimmed, and mostly
// there is nothing to cut.
inline bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
inline std::string_view TrimWhiteSpace(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsWhiteSpace(text[begin])) ++begin;
    while (end > begin && IsWhiteSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

// atoi's reading of a number cell (leading white space, optional sign,
// decimal digits up to the first other character; 0 when there are none), but
// a value beyond the range of int is held at INT_MIN or INT_MAX instead of
// being undefined.
int ParseCsvInt(std::string_view text);

// atof's reading of a number cell ("." as decimal point, optional exponent,
// 0 when the text does not begin with a number), the same on every platform:
// the text is always a decimal number, never "inf", "nan" or hexadecimal; a
// magnitude beyond double is held at plus or minus HUGE_VAL.
double ParseCsvDouble(std::string_view text);

// How the import reads a number cell: 0 when the cell, blanks around it
// aside, is wholly a decimal number with "." as decimal point (optional sign
// and exponent), the way the export writes numbers; -2 for an empty cell;
// -1 for anything else ("12,5", "abc", "nan", "inf", hexadecimal, a
// magnitude beyond double).  value is 0 unless the result is 0.
int ParseNumberCell(std::string_view text, double& value);

}  // namespace csv

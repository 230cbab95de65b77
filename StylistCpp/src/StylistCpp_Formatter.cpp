// StylistCpp::Formatter: state, reading and writing of source stretches,
// the whitespace rules every visit shares, and the leaf visits.
#include "StylistCpp_Formatter.h"

#include "Corvale_Exception.h"
#include "Cpp.h"
#include "Cpp_CompositeNode.h"
#include "Cpp_InteriorNode.h"
#include "Cpp_LeafNode.h"
#include "Cpp_LexerIterator.h"
#include "Stylist.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace StylistCpp {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }
bool isSpace(char c) { return isBlank(c) || c == '\n'; }

bool allSpace(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return isSpace(c); });
}

Corvale::TabMode tabModeOf(Stylist::TabConversion c)
{
    switch (c) {
    case Stylist::TabConversion::EXPAND:
        return Corvale::Expand;
    case Stylist::TabConversion::COMPRESS:
        return Corvale::Compress;
    default:
        return Corvale::Keep;
    }
}

std::vector<std::size_t> lineStartsOf(const std::string& text)
{
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n')
            starts.push_back(i + 1);
    return starts;
}

} // namespace

Formatter::Formatter(const std::string& text, std::ostream& out, const Stylist::PropertySet& scheme)
    : m_Scheme(scheme), m_Settings(readFormatterSettings(scheme)), m_Text(text), m_LineStarts(lineStartsOf(text)),
      m_In(text, tabModeOf(m_Settings.m_ConvertWs), m_Settings.m_TabSize), m_Target(out),
      m_Out(out, std::string(), false, tabModeOf(m_Settings.m_ConvertWs), m_Settings.m_TabSize), m_pOut(&m_Out),
      m_Expr(scheme)
{
    Stylist::fillSchemeDefaults(m_Scheme);
}

Formatter::~Formatter() = default;

void Formatter::setAlignment(ColumnMap functionNames, ColumnMap dataNames, ColumnMap dataInitializers)
{
    m_FunctionNameColumns = std::move(functionNames);
    m_DataNameColumns = std::move(dataNames);
    m_DataInitColumns = std::move(dataInitializers);
    m_AlignmentGiven = true;
}

// ---- reading -----------------------------------------------------------------

bool Formatter::ahead(const Trn::Location& l) const
{
    if (l == Trn::Location() || !m_In)
        return false;
    // The input's location is that of the character read last; l is ahead
    // when its character has not been read yet.
    return inPos() < l;
}

namespace {

// How many pieces split joins into one.
const std::size_t JOINED_RUN = 64;

bool opensGroup(std::int32_t type) { return type == Cpp::LPAREN || type == Cpp::LBRACKET || type == Cpp::LBRACE; }
bool closesGroup(std::int32_t type) { return type == Cpp::RPAREN || type == Cpp::RBRACKET || type == Cpp::RBRACE; }

bool isMultiLineLiteral(const Formatter::Piece& p)
{
    return p.m_Kind == Formatter::Piece::TOKEN && (p.m_Type == Cpp::STRING_LITERAL || p.m_Type == Cpp::CHAR_LITERAL) &&
           p.m_Text.find('\n') != std::string::npos;
}

} // namespace

Formatter::Pieces Formatter::split(const std::string& text, int line, int col, Join join) const
{
    Pieces pieces;
    if (text.empty())
        return pieces;
    if (allSpace(text)) {
        // The gap between two tokens, most often: the lexer would find no
        // token in it.
        pieces.emplace_back(Piece::SPACE, -1, text, line, col);
        return pieces;
    }
    // The token locations asked for and the offsets of the pieces both
    // move forward through the text, so each is answered by a cursor that
    // walks the text's lines once (and starts over only if asked for an
    // earlier line, which a well-formed token stream never does).
    struct LineCursor {
        explicit LineCursor(const std::string& t) : text(&t), next(t.find('\n')) {}
        const std::string* text;
        std::size_t index = 0; // lines passed (0: the first line)
        std::size_t start = 0; // where that line starts
        std::size_t next;      // the newline that ends it, or npos
        bool stepToNextLine()
        {
            if (next == std::string::npos)
                return false;
            start = next + 1;
            ++index;
            const void* nl = std::memchr(text->data() + start, '\n', text->size() - start);
            next = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - text->data()) : std::string::npos;
            return true;
        }
    };
    LineCursor locations(text);
    auto offsetOf = [&](const Trn::Location& l) -> std::size_t {
        const std::size_t li = static_cast<std::size_t>(std::max(l.line(), 1) - 1);
        if (li < locations.index)
            locations = LineCursor(text);
        while (locations.index < li)
            if (!locations.stepToNextLine())
                return text.size();
        return locations.start + static_cast<std::size_t>(l.col()) - 1;
    };
    LineCursor offsets(text);
    auto sourceOf = [&](std::size_t offset, int& l, int& c) {
        if (offset < offsets.start)
            offsets = LineCursor(text);
        // The line holding offset: every newline before it is passed.
        while (offsets.next != std::string::npos && offsets.next < offset)
            offsets.stepToNextLine();
        const std::size_t li = offsets.index;
        l = line + static_cast<int>(li);
        c = li == 0 ? col + static_cast<int>(offset) : static_cast<int>(offset - offsets.start);
    };
    // Text between tokens: runs of whitespace, and runs of characters the
    // lexer skipped. The whitespace around a skipped character is laid out
    // like any other, so formatting again finds the same gaps.
    auto addText = [&](std::size_t from, std::size_t to) {
        while (from < to) {
            const bool space = isSpace(text[from]);
            std::size_t runEnd = from + 1;
            while (runEnd < to && isSpace(text[runEnd]) == space)
                ++runEnd;
            Piece p;
            p.m_Text = text.substr(from, runEnd - from);
            p.m_Kind = space ? Piece::SPACE : Piece::JUNK;
            p.m_Type = -1;
            sourceOf(from, p.m_Line, p.m_Col);
            pieces.push_back(std::move(p));
            from = runEnd;
        }
    };

    // The depth of brackets, and where the run of pieces not joined yet
    // starts. A joined piece is a TOKEN of no token type, which no rule
    // looks for.
    const bool all = join == Join::ALL;
    int depth = 0;
    std::size_t runStart = 0;
    auto joinRun = [&](std::size_t to) {
        if (to - runStart < 2) {
            runStart = to;
            return;
        }
        Piece& first = pieces[runStart];
        first.m_Kind = Piece::TOKEN;
        first.m_Type = -1;
        for (std::size_t k = runStart + 1; k < to; ++k)
            first.m_Text += pieces[k].m_Text;
        pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(runStart) + 1,
                     pieces.begin() + static_cast<std::ptrdiff_t>(to));
        runStart = pieces.size();
    };

    // A piece holds at least one character, and real code has about one in
    // three or four: room for that many saves most regrowth of the vector
    // (the cap keeps a huge text from reserving far ahead of its pieces).
    pieces.reserve(std::min<std::size_t>(text.size() / 3 + 2, 1024));
    std::size_t pos = 0;
    Cpp::LexerIterator it(text.begin(), text.end()), end;
    for (; it != end && !it.stuck(); ++it) {
        const Trn::Token& tok = *it;
        std::size_t s = offsetOf(tok.start());
        std::size_t e = std::min(offsetOf(tok.end()) + 1, text.size());
        if (s < pos || e <= s)
            continue; // never happens with a well-formed token stream
        const bool closesOuter = join == Join::NESTED && depth == 1 && closesGroup(tok.type());
        if (closesOuter)
            joinRun(pieces.size());
        addText(pos, s);
        if (closesOuter)
            runStart = pieces.size();
        Piece p;
        p.m_Kind = Piece::TOKEN;
        p.m_Type = tok.type();
        p.m_Text = text.substr(s, e - s);
        sourceOf(s, p.m_Line, p.m_Col);
        pieces.push_back(std::move(p));
        pos = e;
        if (join == Join::NONE)
            continue;
        if (opensGroup(tok.type())) {
            if (depth++ == 0 && !all)
                runStart = pieces.size();
        } else if (closesGroup(tok.type())) {
            depth = std::max(depth - 1, 0);
        } else if ((all || depth > 0) && isMultiLineLiteral(pieces.back())) {
            joinRun(pieces.size() - 1);
            runStart = pieces.size();
        } else if ((all || depth > 0) && pieces.size() - runStart >= JOINED_RUN) {
            joinRun(pieces.size());
        }
    }
    addText(pos, text.size());
    return pieces;
}

Formatter::Pieces Formatter::readUpTo(const Trn::Location& l)
{
    if (!ahead(l))
        return Pieces();
    int line = m_In.line();
    int col = m_In.col();
    return split(Stylist::readUpTo(m_In, l), line, col);
}

Formatter::Pieces Formatter::readThrough(const Trn::Location& l, Join join)
{
    if (!ahead(l))
        return Pieces();
    int line = m_In.line();
    int col = m_In.col();
    return split(Stylist::readThrough(m_In, l), line, col, join);
}

void Formatter::copyNode(const Cpp::SyntaxNode& node)
{
    applyPending(node.start());
    copyThrough(node.end());
}

void Formatter::finish(const Cpp::SyntaxNode& node) { copyThrough(node.end()); }

int Formatter::sourceColumn(int line, int col) const
{
    if (line < 1 || static_cast<std::size_t>(line) > m_LineStarts.size())
        return 0;
    std::size_t start = m_LineStarts[static_cast<std::size_t>(line) - 1];
    if (line != m_ColumnLine || col < m_ColumnChars) {
        m_ColumnLine = line;
        m_ColumnChars = 0;
        m_ColumnWidth = 0;
    }
    const std::size_t from = start + static_cast<std::size_t>(m_ColumnChars);
    m_ColumnWidth += Stylist::textWidth(m_Text.substr(from, static_cast<std::size_t>(col - m_ColumnChars)),
                                        m_ColumnWidth, m_Settings.m_TabSize);
    m_ColumnChars = col;
    return m_ColumnWidth;
}

std::string Formatter::lineIndentOf(int line, int col) const
{
    if (line < 1 || static_cast<std::size_t>(line) > m_LineStarts.size())
        return std::string();
    std::string prefix = m_Text.substr(m_LineStarts[static_cast<std::size_t>(line) - 1], static_cast<std::size_t>(col));
    return std::all_of(prefix.begin(), prefix.end(), isBlank) ? prefix : std::string();
}

// ---- writing -------------------------------------------------------------------

void Formatter::write(const Pieces& pieces)
{
    for (const Piece& p : pieces)
        writePiece(p);
}

void Formatter::writeKey(const std::string& text)
{
    Corvale::ScopedKeepLeadingSpace keep(*m_pOut, true);
    std::string joined;
    if (spliceOpen() && text.find('\n') < text.find_first_not_of(" \t\n\r\v\f")) {
        // The line ends in a backslash the lexer skipped: a line break here
        // would splice the next line onto it, so the breaks before the
        // value's first character become one blank.
        const std::size_t first = text.find_first_not_of(" \t\n\r\v\f");
        joined = " " + (first == std::string::npos ? std::string() : text.substr(first));
    }
    const std::string& written = joined.empty() ? text : joined;
    *m_pOut << written;
    if (!written.empty())
        m_LastChar = written.back();
}

bool Formatter::spliceOpen() const { return m_pOut->indentBuf().spliceOpen(); }

namespace {

bool isWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '$' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// Two words never run together: when a value left nothing between a word
// written last and a word to come, one blank goes between them.
// Whether two operator characters written side by side would lex as one
// token (or open a comment).
bool mergesWith(char a, char b)
{
    static const char* const PAIRS[] = {"::", "++", "--", "->", "<<", ">>", "&&", "||", "//", "/*", "==", "<=",
                                        ">=", "!=", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "<:", "%:",
                                        ".*", "..", "##", "<%", ":>", "%>"};
    for (const char* p : PAIRS)
        if (p[0] == a && p[1] == b)
            return true;
    return false;
}

} // namespace

void Formatter::separateWords(const std::string& next)
{
    if (next.empty() || m_pOut->col() == 0)
        return;
    if ((isWordChar(next[0]) && isWordChar(m_LastChar)) || mergesWith(m_LastChar, next[0])) {
        Corvale::ScopedKeepLeadingSpace keep(*m_pOut, true);
        *m_pOut << ' ';
    }
}

void Formatter::writePiece(const Piece& piece)
{
    if (piece.m_Kind == Piece::KEY) {
        writePieceText(piece);
        if (!piece.m_Text.empty())
            m_LastChar = piece.m_Text.back();
        return;
    }
    // A piece that continues the source right where the last one ended
    // (the rest of a word whose first letter was copied) needs no blank.
    bool contiguous = piece.m_Line == m_LastSourceLine && piece.m_Col == m_LastSourceCol;
    std::size_t nl = piece.m_Text.rfind('\n');
    if (nl == std::string::npos) {
        m_LastSourceLine = piece.m_Line;
        m_LastSourceCol = piece.m_Col + static_cast<int>(piece.m_Text.size());
    } else {
        m_LastSourceLine = piece.m_Line + static_cast<int>(std::count(piece.m_Text.begin(), piece.m_Text.end(), '\n'));
        m_LastSourceCol = static_cast<int>(piece.m_Text.size() - nl - 1);
    }
    if (piece.m_Kind != Piece::SPACE && !contiguous)
        separateWords(piece.m_Text);
    writePieceText(piece);
    if (piece.m_Kind == Piece::FORMAT)
        return; // writeFormatted noted its last character
    if (piece.m_Kind == Piece::SPACE && piece.m_Text.find('\n') == std::string::npos && m_pOut->col() == 0)
        return; // dropped at a line start
    if (!piece.m_Text.empty())
        m_LastChar = piece.m_Text.back();
}

void Formatter::writePieceText(const Piece& piece)
{
    switch (piece.m_Kind) {
    case Piece::KEY:
        writeKey(piece.m_Text);
        return;
    case Piece::FORMAT:
        writeFormatted(piece);
        return;
    case Piece::SPACE: {
        std::size_t lineEnds = static_cast<std::size_t>(std::count(piece.m_Text.begin(), piece.m_Text.end(), '\n'));
        if (lineEnds > 0 && spliceOpen()) {
            *m_pOut << ' '; // a break after a skipped backslash would splice the lines
        } else if (lineEnds > 0) {
            Corvale::ScopedKeepLeadingSpace keep(*m_pOut, false);
            *m_pOut << std::string(lineEnds, '\n');
        } else if (m_pOut->col() != 0) {
            *m_pOut << piece.m_Text;
        }
        return;
    }
    case Piece::JUNK: {
        Corvale::ScopedKeepLeadingSpace keep(*m_pOut, false);
        *m_pOut << piece.m_Text;
        return;
    }
    case Piece::TOKEN:
        break;
    }
    Corvale::ScopedKeepLeadingSpace keep(*m_pOut, false);
    switch (piece.m_Type) {
    case Cpp::PREPROCESSOR:
        writeDirective(piece);
        return;
    case Cpp::ML_COMMENT_UNPARSED:
        if (m_pOut->col() != 0)
            writeRawInPlace(piece);
        else
            writeRawInPlace(Piece{Piece::TOKEN, piece.m_Type, lineIndentOf(piece.m_Line, piece.m_Col) + piece.m_Text,
                                  piece.m_Line, 0});
        return;
    case Cpp::ML_COMMENT:
        writeMultiLine(piece);
        return;
    case Cpp::SL_COMMENT:
        *m_pOut << piece.m_Text;
        return;
    case Cpp::STRING_LITERAL:
    case Cpp::CHAR_LITERAL:
        if (piece.m_Text.find('\n') != std::string::npos)
            writeRawInPlace(piece); // a literal that spans lines keeps every byte
        else
            *m_pOut << piece.m_Text;
        return;
    default:
        // A name folded over several lines (a template-id) follows the
        // indentation like any code.
        *m_pOut << piece.m_Text;
        return;
    }
}

// Text that must come out byte for byte where the output stands: a
// literal over several lines (a raw string, a spliced string), a region
// kept verbatim, a directive copied as written. The output's tab
// conversion would change the lines after the first, so past its first
// character such a text goes straight to the stream the output writes to;
// the output's column is then behind for the rest of the text's last line,
// which only shifts the tab stops there.
void Formatter::writeRawInPlace(const Piece& piece)
{
    const std::string& text = piece.m_Text;
    Corvale::ScopedIndent indent(*m_pOut, std::string());
    Corvale::ScopedKeepLeadingSpace keep(*m_pOut, true);
    if (m_pOut->indentBuf().tabMode() == Corvale::Keep || text.size() < 2 ||
        text.find('\n') == std::string::npos) {
        *m_pOut << text;
        return;
    }
    // A text that ends its line gives that line end to the output, so that
    // the output knows the next line starts.
    const bool lineEnd = text.back() == '\n';
    *m_pOut << text[0];
    m_pOut->flush();
    m_pOut->indentBuf().putVerbatim(text.data() + 1, static_cast<std::streamsize>(text.size() - (lineEnd ? 2 : 1)));
    if (lineEnd)
        *m_pOut << '\n';
}

// A block comment or directive over several lines: the first line goes
// where the output stands, and each further line keeps its offset from the
// first character.
void Formatter::writeMultiLine(const Piece& piece)
{
    const std::string& text = piece.m_Text;
    std::size_t nl = text.find('\n');
    if (nl == std::string::npos) {
        *m_pOut << text;
        return;
    }
    const int tab = m_Settings.m_TabSize;
    int sourceCol = sourceColumn(piece.m_Line, piece.m_Col);
    *m_pOut << text[0];
    int c = std::max(m_pOut->col() - 1, 0);
    *m_pOut << text.substr(1, nl);
    std::string lineIndent = Stylist::whitespaceOfWidth(*m_pOut, c);
    Corvale::ScopedIndent indent(*m_pOut, lineIndent);
    Corvale::ScopedKeepLeadingSpace keep(*m_pOut, true);
    std::size_t pos = nl + 1;
    while (pos < text.size()) {
        std::size_t next = text.find('\n', pos);
        std::size_t lineEnd = next == std::string::npos ? text.size() : next + 1;
        std::size_t i = pos;
        int w = 0;
        while (i < lineEnd && isBlank(text[i]) && w < sourceCol) {
            w += Stylist::charWidth(text[i], w, tab);
            ++i;
        }
        *m_pOut << text.substr(i, lineEnd - i);
        pos = lineEnd;
    }
}

void Formatter::writeDirective(const Piece& piece)
{
    // A directive starts a line, unless the line ends in a backslash the
    // lexer skipped: a line break there would splice the directive onto
    // that line, so it follows the backslash as it stood.
    if (m_pOut->col() != 0 && !spliceOpen())
        *m_pOut << '\n';
    const Stylist::PpdPlacement& place = m_Settings.m_AlignPpdLeftMost;
    if (!place.m_Present) {
        writeRawInPlace(Piece{Piece::TOKEN, piece.m_Type, lineIndentOf(piece.m_Line, piece.m_Col) + piece.m_Text,
                              piece.m_Line, 0});
    } else if (place.m_LeftMost) {
        Corvale::ScopedIndent indent(*m_pOut, m_Settings.m_LeftMargin);
        writeMultiLine(piece);
    } else {
        writeMultiLine(piece);
    }
}

// ---- whitespace rules -------------------------------------------------------------

bool Formatter::endsLine(const Piece& piece)
{
    return piece.m_Kind == Piece::TOKEN && (piece.m_Type == Cpp::SL_COMMENT || piece.m_Type == Cpp::PREPROCESSOR) &&
           !piece.m_Text.empty() && piece.m_Text.back() == '\n';
}

void Formatter::trimFront(Pieces& pieces)
{
    auto it = std::find_if(pieces.begin(), pieces.end(), [](const Piece& p) { return p.m_Kind != Piece::SPACE; });
    pieces.erase(pieces.begin(), it);
}

void Formatter::trimBack(Pieces& pieces)
{
    while (!pieces.empty() && pieces.back().m_Kind == Piece::SPACE)
        pieces.pop_back();
}

bool Formatter::hasLineEnd(const Pieces& pieces)
{
    for (const Piece& p : pieces)
        if (p.m_Kind != Piece::KEY && p.m_Text.find('\n') != std::string::npos)
            return true;
    return false;
}

bool Formatter::holdsCommentOrDirective(const Pieces& pieces)
{
    for (const Piece& p : pieces)
        if (p.m_Kind == Piece::TOKEN &&
            (p.m_Type == Cpp::SL_COMMENT || p.m_Type == Cpp::ML_COMMENT || p.m_Type == Cpp::PREPROCESSOR ||
             p.m_Type == Cpp::ML_COMMENT_UNPARSED))
            return true;
    return false;
}

namespace {

Formatter::Piece keyPiece(const std::string& text) { return Formatter::Piece{Formatter::Piece::KEY, -1, text, 0, 0}; }

// What is left of a separator after a line end that the text already has.
std::string afterFirstLineEnd(const std::string& sep)
{
    std::size_t nl = sep.find('\n');
    return nl == std::string::npos ? std::string() : sep.substr(nl + 1);
}

} // namespace

void Formatter::applyBefore(Pieces& pieces, const std::string& sep)
{
    auto last = std::find_if(pieces.rbegin(), pieces.rend(), [](const Piece& p) { return p.m_Kind != Piece::SPACE; });
    if (last != pieces.rend() && endsLine(*last)) {
        if (sep.find('\n') == std::string::npos)
            return; // the line break after the comment stays, with the blank lines after it
        trimBack(pieces);
        pieces.push_back(keyPiece(afterFirstLineEnd(sep)));
        return;
    }
    trimBack(pieces);
    pieces.push_back(keyPiece(sep));
}

void Formatter::applySeparator(Pieces& pieces, const std::string& sep) const
{
    bool onlySpace = std::all_of(pieces.begin(), pieces.end(), [](const Piece& p) { return p.m_Kind == Piece::SPACE; });
    if (onlySpace && m_pOut->col() == 0) {
        // What was written last (a comment, a directive) ended its line.
        pieces.clear();
        if (sep.find('\n') != std::string::npos)
            pieces.push_back(keyPiece(afterFirstLineEnd(sep)));
        return;
    }
    applyBefore(pieces, sep);
}

void Formatter::applyAfter(Pieces& pieces, const std::string& after)
{
    bool lineEndFirst = false;
    std::size_t first = 0;
    while (first < pieces.size() && pieces[first].m_Kind == Piece::SPACE) {
        if (pieces[first].m_Text.find('\n') != std::string::npos)
            lineEndFirst = true;
        ++first;
    }
    if (first < pieces.size() && !lineEndFirst && pieces[first].m_Kind == Piece::TOKEN &&
        pieces[first].m_Type == Cpp::ML_COMMENT && first + 1 < pieces.size() &&
        pieces[first + 1].m_Kind == Piece::SPACE && pieces[first + 1].m_Text.find('\n') != std::string::npos) {
        // A block comment that ends the opening's line stays on it, with
        // its line break, as a line comment does.
        pieces[first + 1] = Piece(Piece::SPACE, -1, "\n", pieces[first + 1].m_Line, pieces[first + 1].m_Col);
        pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(first) + 2, keyPiece(afterFirstLineEnd(after)));
        return;
    }
    if (first < pieces.size() && !lineEndFirst && endsLine(pieces[first])) {
        // A comment on the opening's line stays on it.
        pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(first) + 1, keyPiece(afterFirstLineEnd(after)));
        std::size_t rest = first + 2;
        while (rest < pieces.size() && pieces[rest].m_Kind == Piece::SPACE &&
               pieces[rest].m_Text.find('\n') == std::string::npos)
            pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(rest));
        return;
    }
    bool directive = first < pieces.size() && pieces[first].m_Kind == Piece::TOKEN &&
                     pieces[first].m_Type == Cpp::PREPROCESSOR;
    trimFront(pieces);
    pieces.insert(pieces.begin(), keyPiece(directive ? std::string("\n") : after));
}

std::size_t Formatter::findTopLevel(const Pieces& pieces, std::int32_t type, std::size_t from)
{
    int depth = 0;
    for (std::size_t i = from; i < pieces.size(); ++i) {
        const Piece& p = pieces[i];
        if (p.m_Kind != Piece::TOKEN)
            continue;
        if (depth == 0 && p.m_Type == type)
            return i;
        switch (p.m_Type) {
        case Cpp::LPAREN:
        case Cpp::LBRACKET:
        case Cpp::LBRACE:
            ++depth;
            break;
        case Cpp::RPAREN:
        case Cpp::RBRACKET:
        case Cpp::RBRACE:
            if (depth > 0)
                --depth;
            break;
        default:
            break;
        }
    }
    return pieces.size();
}

std::vector<Formatter::Pieces> Formatter::splitTopLevel(const Pieces& pieces, std::int32_t type, Pieces* pSeparators)
{
    std::vector<Pieces> parts;
    std::size_t from = 0;
    for (;;) {
        std::size_t at = findTopLevel(pieces, type, from);
        parts.emplace_back(pieces.begin() + static_cast<std::ptrdiff_t>(from),
                           pieces.begin() + static_cast<std::ptrdiff_t>(at));
        if (at == pieces.size())
            break;
        if (pSeparators)
            pSeparators->push_back(pieces[at]);
        from = at + 1;
    }
    return parts;
}

// ---- re-spacing ---------------------------------------------------------------------

// Every stretch that the expression formatter re-spaces passes here: each
// run of source text between the whitespace values of keys becomes one
// piece that is re-spaced when it is written, from the output position it
// is written at.

Formatter::Pieces Formatter::respace(const Pieces& pieces, Respace how, const std::string& nameGap)
{
    Pieces out;
    std::size_t i = 0;
    while (i < pieces.size()) {
        if (pieces[i].m_Kind == Piece::KEY || pieces[i].m_Kind == Piece::FORMAT) {
            out.push_back(pieces[i++]);
            continue;
        }
        Piece run{Piece::FORMAT, -1, std::string(), pieces[i].m_Line, pieces[i].m_Col};
        run.m_Declarator = how == Respace::DECLARATOR;
        run.m_pGap = run.m_Declarator ? &nameGap : nullptr;
        for (; i < pieces.size() && pieces[i].m_Kind != Piece::KEY && pieces[i].m_Kind != Piece::FORMAT &&
               !isMultiLineLiteral(pieces[i]);
             ++i)
            run.m_Text += pieces[i].m_Text;
        if (!run.m_Text.empty())
            out.push_back(std::move(run));
        // A literal over several lines is written on its own, byte for byte.
        if (i < pieces.size() && isMultiLineLiteral(pieces[i]))
            out.push_back(pieces[i++]);
    }
    return out;
}

std::string Formatter::render(const Pieces& pieces)
{
    Corvale::OIndentStream scratch(m_pOut->state());
    Corvale::OIndentStream* pSaved = m_pOut;
    m_pOut = &scratch;
    try {
        write(pieces);
    } catch (...) {
        m_pOut = pSaved;
        throw;
    }
    m_pOut = pSaved;
    scratch.flush();
    return scratch.str();
}

void Formatter::writeFormatted(const Piece& piece)
{
    if (allSpace(piece.m_Text)) {
        // Whitespace alone is laid out as any gap.
        write(split(piece.m_Text, piece.m_Line, piece.m_Col));
        return;
    }
    // The text's source column lets a continuation kept after a comma keep
    // its place relative to the text's start.
    const int savedColumn = m_Expr.sourceColumn();
    const bool startsWithToken = !piece.m_Text.empty() && !std::isspace(static_cast<unsigned char>(piece.m_Text[0]));
    m_Expr.setSourceColumn(piece.m_Line > 0 && startsWithToken ? sourceColumn(piece.m_Line, piece.m_Col) : -1);
    std::string text;
    try {
        text = piece.m_Declarator ? m_Expr.formatDeclarator(piece.m_Text, m_pOut->state(), *piece.m_pGap)
                                  : m_Expr.formatExpression(piece.m_Text, m_pOut->state());
    } catch (...) {
        m_Expr.setSourceColumn(savedColumn);
        throw;
    }
    m_Expr.setSourceColumn(savedColumn);
    if (piece.m_TrimAfterSign) {
        std::size_t last = text.find_last_not_of(" \t\n\r");
        if (last != std::string::npos && (text[last] == '*' || text[last] == '&'))
            text.erase(last + 1);
    }
    Stylist::writeRaw(*m_pOut, text);
    if (!text.empty())
        m_LastChar = text.back();
}

void Formatter::writeRespaced(const Pieces& pieces, Respace how, const std::string& nameGap)
{
    write(respace(pieces, how, nameGap));
}

// ---- shared mechanisms ----------------------------------------------------------------

std::string Formatter::indentOf(int col) const { return Stylist::whitespaceOfWidth(*m_pOut, std::max(col, 0)); }

int Formatter::columnAfterFirst()
{
    int c = m_pOut->col();
    return c > 0 ? c - 1 : 0;
}

// The column at which the next character written will stand.
int Formatter::startColumn() const
{
    if (m_pOut->col() != 0)
        return m_pOut->col();
    return Stylist::textWidth(m_pOut->indent(), 0, m_Settings.m_TabSize);
}

bool Formatter::popPending(std::string& sep)
{
    if (m_Pending.empty())
        return false;
    sep = m_Pending.back();
    m_Pending.pop_back();
    return true;
}

void Formatter::applyPending(const Trn::Location& start)
{
    std::string sep;
    if (!popPending(sep))
        return;
    Pieces gap = readUpTo(start);
    applySeparator(gap, sep);
    write(gap);
}

bool Formatter::alignNames() const
{
    return m_Settings.m_AlignDdNamesLeft || (m_InClass && m_Settings.m_AlignClassMemberNamesLeft);
}

// ---- leaves written as they stand -------------------------------------------------------

void Formatter::visitTextNode(Cpp::TextNode& node) { copyNode(node); }
void Formatter::visitLabelNode(Cpp::LabelNode& node) { copyNode(node); }
void Formatter::visitKeywordNode(Cpp::KeywordNode& node) { copyNode(node); }
void Formatter::visitTypeNode(Cpp::TypeNode& node) { copyNode(node); }
void Formatter::visitIdNode(Cpp::IdNode& node) { copyNode(node); }
void Formatter::visitEnumHeadNode(Cpp::EnumHeadNode& node) { copyNode(node); }
void Formatter::visitNamespaceHeadNode(Cpp::NamespaceHeadNode& node) { copyNode(node); }
void Formatter::visitClassNameNode(Cpp::ClassNameNode& node) { copyNode(node); }

} // namespace StylistCpp

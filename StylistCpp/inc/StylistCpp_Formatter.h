// StylistCpp::Formatter: the emitter of the format pass.
//
// It walks the syntax tree of one text and writes the text again: every
// token is spelled as in the source, while the whitespace at the places the
// scheme's keys name is replaced by the key's value, bodies are re-indented
// and names and initialisers are aligned. Every character of the source is
// either laid out here or copied, exactly once and in order: the input is
// read from front to back a single time, and whatever lies between the
// pieces a visit lays out (comments, directives, stray tokens) is copied
// with only its whitespace adjusted.
//
// Usage (one formatter per pass and per tree):
//     std::ostringstream out;
//     StylistCpp::Formatter formatter(text, out, scheme);
//     root.accept(formatter);       // writes the whole formatted text to out
//
// The constructor reads the scheme's keys once (a missing required key
// raises Stylist::PropertyMissingException). The root's visit writes the
// whole text and flushes the output; other visits are only meaningful as
// part of that walk.
#ifndef STYLISTCPP_FORMATTER_H
#define STYLISTCPP_FORMATTER_H

#include "Corvale_ITextDocStream.h"
#include "Corvale_OIndentStream.h"
#include "Cpp_Emitter.h"
#include "StylistCpp_ExprFormatter.h"
#include "StylistCpp_FormatterConfig.h"
#include "Stylist_PropertySet.h"
#include "Trn_Location.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace Cpp {
class InteriorNode;
class SyntaxNode;
}

namespace StylistCpp {

class Formatter : public Cpp::Emitter {
public:
    // Alignment results: a declaration node (by identity) and its column.
    using ColumnMap = std::map<const Cpp::SyntaxNode*, int>;

    // text: the text the tree was parsed from; out: where the formatted
    // text goes (not owned, must outlive the formatter); scheme: the run's
    // scheme, copied and completed by the defaulting step.
    Formatter(const std::string& text, std::ostream& out, const Stylist::PropertySet& scheme);
    ~Formatter() override;
    Formatter(const Formatter&) = delete;
    Formatter& operator=(const Formatter&) = delete;

    const FormatterSettings& settings() const { return m_Settings; }

    // The columns found by the alignment calculators before the walk: the
    // name columns of function declarations, of data declarations, and the
    // initialiser columns of data declarations. A declaration missing from
    // a map is not aligned. Unless set here, the root's visit finds them
    // with the alignment calculators when the scheme asks for alignment.
    void setAlignment(ColumnMap functionNames, ColumnMap dataNames, ColumnMap dataInitializers);

    // Written as they stand.
    void visitTextNode(Cpp::TextNode& node) override;
    void visitLabelNode(Cpp::LabelNode& node) override;
    void visitKeywordNode(Cpp::KeywordNode& node) override;
    void visitTypeNode(Cpp::TypeNode& node) override;
    void visitIdNode(Cpp::IdNode& node) override;
    void visitEnumHeadNode(Cpp::EnumHeadNode& node) override;
    void visitNamespaceHeadNode(Cpp::NamespaceHeadNode& node) override;
    void visitClassNameNode(Cpp::ClassNameNode& node) override;

    // Declarations and classes.
    void visitNamespaceDeclNode(Cpp::NamespaceDeclNode& node) override;
    void visitNamespaceBodyNode(Cpp::NamespaceBodyNode& node) override;
    void visitLinkageBlockNode(Cpp::LinkageBlockNode& node) override;
    void visitLinkageBlockBodyNode(Cpp::LinkageBlockBodyNode& node) override;
    void visitClassDeclNode(Cpp::ClassDeclNode& node) override;
    void visitClassHeadNode(Cpp::ClassHeadNode& node) override;
    void visitClassBodyNode(Cpp::ClassBodyNode& node) override;
    void visitAccessSpecNode(Cpp::AccessSpecNode& node) override;
    void visitBaseClauseListNode(Cpp::BaseClauseListNode& node) override;
    void visitBaseClauseNode(Cpp::BaseClauseNode& node) override;
    void visitEnumDeclNode(Cpp::EnumDeclNode& node) override;
    void visitEnumBodyNode(Cpp::EnumBodyNode& node) override;
    void visitTemplateNode(Cpp::TemplateNode& node) override;
    void visitFunctionDeclNode(Cpp::FunctionDeclNode& node) override;
    void visitCtorDeclNode(Cpp::CtorDeclNode& node) override;
    void visitInitializerListNode(Cpp::InitializerListNode& node) override;
    void visitInitializerNode(Cpp::InitializerNode& node) override;
    void visitFunctionPtrDeclNode(Cpp::FunctionPtrDeclNode& node) override;
    void visitParameterNode(Cpp::ParameterNode& node) override;
    void visitDataDeclNode(Cpp::DataDeclNode& node) override;

    // Statements and blocks.
    void visitRootNode(Cpp::RootNode& node) override;
    void visitBlockNode(Cpp::BlockNode& node) override;
    void visitCtrlStmtNode(Cpp::CtrlStmtNode& node) override;
    void visitCtrlSubStmtNode(Cpp::CtrlSubStmtNode& node) override;
    void visitCtrlSubStmtHeadNode(Cpp::CtrlSubStmtHeadNode& node) override;
    void visitCaseNode(Cpp::CaseNode& node) override;
    void visitExprNode(Cpp::ExprNode& node) override;
    void visitCommentNode(Cpp::CommentNode& node) override;
    void visitPreprocDirectiveNode(Cpp::PreprocDirectiveNode& node) override;
    void visitAsmNode(Cpp::AsmNode& node) override;

    // One stretch of source text, cut at token boundaries: a run of
    // whitespace, a token (a comment, a directive, code), text the lexer
    // could not use, or whitespace that a key supplies.
    //
    // A FORMAT piece is source text that the expression formatter re-spaces
    // when it is written, from the output position it is written at.
    struct Piece {
        enum Kind { SPACE, TOKEN, JUNK, KEY, FORMAT };
        Piece() = default;
        Piece(Kind kind, std::int32_t type, std::string text, int line, int col)
            : m_Kind(kind), m_Type(type), m_Text(std::move(text)), m_Line(line), m_Col(col)
        {
        }
        Kind m_Kind = SPACE;
        std::int32_t m_Type = -1; // token type for TOKEN
        std::string m_Text;
        int m_Line = 0; // source line of the first character
        int m_Col = 0;  // characters before it on its source line
        // FORMAT: re-spaced as a declarator with this name gap, not as an
        // expression; and whether a trailing "*" or "&" loses the
        // whitespace after it.
        // (The gap is one of the settings' strings.)
        bool m_Declarator = false;
        bool m_TrimAfterSign = false;
        const std::string* m_pGap = nullptr;
    };
    using Pieces = std::vector<Piece>;

private:
    // How a re-spaced stretch is re-spaced.
    enum class Respace { EXPRESSION, DECLARATOR };
    // The three values of a braced body.
    struct BodyKeys {
        const std::string* m_pContent;
        const std::string* m_pAfterOpen;
        const std::string* m_pBeforeClose;
    };

    // ---- reading and writing ---------------------------------------------
    Trn::Location inPos() const { return Trn::Location(m_In.line(), m_In.col()); }
    bool ahead(const Trn::Location& l) const;
    // For text that is re-spaced as a whole and never written piece by
    // piece, runs of pieces may be joined into pieces of JOINED_RUN pieces'
    // text each, so that a long list or expression costs a few pieces
    // instead of one per token and gap: NESTED joins the runs inside
    // brackets (the brackets that open and close the outermost groups stay
    // pieces of their own, for the rules that split at top-level commas),
    // ALL joins every run. A literal over several lines always stays a
    // piece of its own.
    enum class Join { NONE, NESTED, ALL };
    Pieces split(const std::string& text, int line, int col, Join join = Join::NONE) const;
    Pieces readUpTo(const Trn::Location& l);
    Pieces readThrough(const Trn::Location& l, Join join = Join::NONE);
    void write(const Pieces& pieces);
    void writePiece(const Piece& piece);
    void writePieceText(const Piece& piece);
    void separateWords(const std::string& next);
    void writeMultiLine(const Piece& piece);
    void writeDirective(const Piece& piece);
    void writeRawInPlace(const Piece& piece);
    void writeKey(const std::string& text);
    bool spliceOpen() const;
    void copyUpTo(const Trn::Location& l) { write(readUpTo(l)); }
    void copyThrough(const Trn::Location& l) { write(readThrough(l)); }
    void copyNode(const Cpp::SyntaxNode& node);
    int sourceColumn(int line, int col) const;
    std::string lineIndentOf(int line, int col) const;

    // ---- whitespace rules ------------------------------------------------
    static bool endsLine(const Piece& piece);
    static void trimFront(Pieces& pieces);
    static void trimBack(Pieces& pieces);
    static bool hasLineEnd(const Pieces& pieces);
    static bool holdsCommentOrDirective(const Pieces& pieces);
    // The pending separator rule: the text's trailing whitespace gives way
    // to sep, unless a line-ending comment or directive must keep its line
    // break.
    static void applyBefore(Pieces& pieces, const std::string& sep);
    // The same for the text right before a node: when the output already
    // stands at the start of a line, the separator's first line end is
    // already there.
    void applySeparator(Pieces& pieces, const std::string& sep) const;
    // The text after an opening ("{", ",", ":"): its leading whitespace
    // gives way to after; a comment on the opening's line stays there.
    static void applyAfter(Pieces& pieces, const std::string& after);
    static std::size_t findTopLevel(const Pieces& pieces, std::int32_t type, std::size_t from);
    static std::vector<Pieces> splitTopLevel(const Pieces& pieces, std::int32_t type, Pieces* pSeparators);

    // ---- re-spacing (the one place that calls the expression formatter) --
    Pieces respace(const Pieces& pieces, Respace how, const std::string& nameGap);
    void writeRespaced(const Pieces& pieces, Respace how, const std::string& nameGap);

    // ---- shared mechanisms -----------------------------------------------
    int declColumn() const { return m_DeclColumns.empty() ? 0 : m_DeclColumns.back(); }
    std::string indentOf(int col) const;
    int columnAfterFirst();
    int startColumn() const;
    void applyPending(const Trn::Location& start);
    bool popPending(std::string& sep);
    void writeBracedBody(Cpp::InteriorNode& body, bool braced, const BodyKeys& keys, bool isSwitch);
    void writeEmptyBody(Cpp::InteriorNode& body, const BodyKeys& keys);
    void writeChildren(Cpp::InteriorNode& body);
    void writeNodelessTemplated(const Trn::Location& next);
    void writeCommaList(Cpp::InteriorNode& list, const std::string& openSep, const std::string& afterOpen,
                        const std::string& beforeComma, const std::string& afterComma, std::int32_t openType);
    void writeParameterList(Cpp::InteriorNode& params);
    static void spaceAround(Pieces& gap, std::int32_t type, const std::string& before, const std::string& after);
    void writeFunctionHead(Cpp::FunctionDeclNode& node, bool definition, int& column);
    void writeTypeAligned(Pieces type, int nameColumn, const std::string& nameGap);
    bool writeSignedType(const Pieces& type, const Pieces& name);
    void writeFormatted(const Piece& piece);
    std::string render(const Pieces& pieces);
    void writeDataRest(Pieces rest);
    void finish(const Cpp::SyntaxNode& node);
    void writeHandlers(Cpp::FunctionDeclNode& node);
    bool alignNames() const;
    void findAlignment(Cpp::RootNode& node);

    Stylist::PropertySet m_Scheme;
    FormatterSettings m_Settings;
    std::string m_Text;
    std::vector<std::size_t> m_LineStarts;
    // The last column sourceColumn measured (line, characters, width), so
    // that columns asked for left to right along a line cost their
    // distance only.
    mutable int m_ColumnLine = 0;
    mutable int m_ColumnChars = 0;
    mutable int m_ColumnWidth = 0;
    Corvale::ITextDocStream m_In;
    std::ostream& m_Target;
    Corvale::OIndentStream m_Out;
    // Where the writing primitives write: the output, or a scratch stream
    // while a stretch is laid out into a string first.
    Corvale::OIndentStream* m_pOut;
    ExprFormatter m_Expr;

    std::vector<int> m_DeclColumns;
    std::vector<std::string> m_Pending;
    bool m_TemplatePushed = false;
    bool m_InClass = false;
    bool m_ClassEndedAtBrace = false;
    bool m_SameLine = false;
    char m_LastChar = '\n'; // the last character written
    // Where the last piece of source written ended (line, characters
    // before the position on that line).
    int m_LastSourceLine = 0;
    int m_LastSourceCol = 0;

    ColumnMap m_FunctionNameColumns;
    ColumnMap m_DataNameColumns;
    ColumnMap m_DataInitColumns;
    bool m_AlignmentGiven = false;
};

} // namespace StylistCpp

#endif

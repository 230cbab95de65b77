// StylistCpp::Rewriter: the emitter of the optional first pass, which adds or
// removes the braces around the single-statement bodies of control
// statements and copies every other character of the text unchanged.
//
// Three scheme keys choose what happens to the bodies of each kind of
// control statement (IF_ELSE_, FOR_ and WHILE_CS_SINGLE_STMT_BRACE_STYLE; a
// do body follows the while style; try, catch and switch bodies are never
// changed):
//
//     0  leave the body as written
//     1  if (a) x = 1;       ->  if (a) {x = 1;}
//     2  if (a) { x = 1; }   ->  if (a)  x = 1;
//
// The rewriter changes no whitespace beyond what adding or removing a brace
// needs ("{" goes directly before the statement, "}" directly after it; a
// removed "}" takes the whitespace before it along); laying the result out
// is the formatter's business, in the next pass.
//
// Invariant: every character of the input is written exactly once, in
// order, raw (the indenting rules never touch it), except the braces the
// rewriter removes and the whitespace directly before a removed "}". A walk
// that changes nothing reproduces the input byte for byte.
//
// Meaning is never changed. A body is left as written, whatever its style,
// when
//   - it holds a preprocessor line (the statement would differ between
//     configurations), or anything besides its one statement (a comment, a
//     second statement);
//   - it is the body of an else whose statement is an if (an else-if chain);
//   - removing its braces would let a following else bind to an inner if
//     (dangling else), also through nested loops and else-if chains, and
//     also an else that the parser kept as a statement of its own;
//   - its statement is not one the braces can be moved around safely: a
//     declaration (not a valid body in C), a try block, a block (the body
//     would stay braced), a comment, a label, a one-line assembler
//     statement (which runs to the end of its line), or
//     a statement the parser saw end early (a macro invocation without its
//     semicolon, 'struct S {} s;').
//
// Usage (one rewriter per pass, as the format pipeline runs it):
//     StylistCpp::Rewriter rewriter(scheme, text, out);
//     pRoot->accept(rewriter);          // pRoot parsed from text
#ifndef STYLISTCPP_REWRITER_H
#define STYLISTCPP_REWRITER_H

#include "Corvale_ITextDocStream.h"
#include "Corvale_OIndentStream.h"
#include "Cpp_Emitter.h"
#include "StylistCpp_FormatterConfig.h"
#include "Stylist_PropertySet.h"
#include "Trn_Location.h"

#include <cstddef>
#include <ostream>
#include <string>
#include <unordered_map>
#include <vector>

namespace Cpp {
class SyntaxNode;
}

namespace StylistCpp {

class Rewriter : public Cpp::Emitter {
public:
    // Reads the three brace styles from scheme (optional, 0 when absent; a
    // value outside 0..2 raises Corvale::ContractViolation). text is the
    // text the tree handed to accept was parsed from; the rewritten text
    // goes to out, which must outlive the rewriter.
    Rewriter(const Stylist::PropertySet& scheme, const std::string& text, std::ostream& out);
    ~Rewriter() override;

    Rewriter(const Rewriter&) = delete;
    Rewriter& operator=(const Rewriter&) = delete;

    const RewriterSettings& settings() const { return m_Settings; }

    // The walk starts at the root: when any style is not 0 it visits the
    // top-level elements, then it writes the rest of the text and flushes.
    void visitRootNode(Cpp::RootNode& node) override;

    // Declarations with bodies, and blocks: their elements are visited in
    // order, so that control statements anywhere are found.
    void visitNamespaceDeclNode(Cpp::NamespaceDeclNode& node) override;
    void visitClassDeclNode(Cpp::ClassDeclNode& node) override;
    void visitLinkageBlockNode(Cpp::LinkageBlockNode& node) override;
    void visitFunctionDeclNode(Cpp::FunctionDeclNode& node) override;
    void visitCtorDeclNode(Cpp::CtorDeclNode& node) override;
    void visitBlockNode(Cpp::BlockNode& node) override;

    // Applies the brace style to each part of the statement.
    void visitCtrlStmtNode(Cpp::CtrlStmtNode& node) override;

    // The walk above never reaches these through accept: reaching one is a
    // contract violation ("false"). Every other leaf, and the plain interior
    // node, keeps the emitter's default of doing nothing.
    void visitLinkageBlockBodyNode(Cpp::LinkageBlockBodyNode& node) override;
    void visitEnumBodyNode(Cpp::EnumBodyNode& node) override;
    void visitEnumHeadNode(Cpp::EnumHeadNode& node) override;
    void visitKeywordNode(Cpp::KeywordNode& node) override;
    void visitCtrlSubStmtHeadNode(Cpp::CtrlSubStmtHeadNode& node) override;
    void visitCtrlSubStmtNode(Cpp::CtrlSubStmtNode& node) override;
    void visitTypeNode(Cpp::TypeNode& node) override;
    void visitInitializerNode(Cpp::InitializerNode& node) override;
    void visitInitializerListNode(Cpp::InitializerListNode& node) override;
    void visitParameterListNode(Cpp::ParameterListNode& node) override;
    void visitParameterNode(Cpp::ParameterNode& node) override;
    void visitFunctionReturnNode(Cpp::FunctionReturnNode& node) override;
    void visitFunctionHeadNode(Cpp::FunctionHeadNode& node) override;
    void visitNamespaceBodyNode(Cpp::NamespaceBodyNode& node) override;
    void visitNamespaceHeadNode(Cpp::NamespaceHeadNode& node) override;
    void visitClassNameNode(Cpp::ClassNameNode& node) override;
    void visitClassHeadNode(Cpp::ClassHeadNode& node) override;
    void visitClassBodyNode(Cpp::ClassBodyNode& node) override;
    void visitBaseClauseListNode(Cpp::BaseClauseListNode& node) override;
    void visitBaseClauseNode(Cpp::BaseClauseNode& node) override;

private:
    // What is done to one control part: the style applied to its body, and
    // whether the body's statement, left without braces, must not end in an
    // if without else (an else follows it).
    struct PartPlan {
        BraceStyle m_Style;
        bool m_ChildGuarded;
    };

    BraceStyle styleOf(int keyword) const;
    PartPlan planPart(const Cpp::CtrlStmtNode& stmt, std::size_t index, bool guarded);
    void rewriteBody(Cpp::BlockNode& body, BraceStyle style, bool childGuarded);
    void visitChildren(Cpp::InteriorNode& node);
    void visitStatement(Cpp::SyntaxNode& node, bool guarded);

    // Analyses of the tree and the text behind it.
    bool innerIfWouldTakeElse(const Cpp::BlockNode& body) const;
    bool isElseIf(const Cpp::BlockNode& body) const;
    void readTokens();
    bool holdsPreprocessorLine(const Cpp::BlockNode& body);
    bool bracketsPairUp(const Trn::Location& first, const Trn::Location& last);
    bool canUnbrace(const Cpp::BlockNode& body);
    bool isComplete(const Cpp::SyntaxNode& statement);
    bool endsOpen(const Cpp::SyntaxNode& statement);
    std::size_t offsetOf(const Trn::Location& location) const;
    char charAt(const Trn::Location& location) const;
    bool onlyWhitespace(std::size_t from, std::size_t to) const;

    Stylist::PropertySet m_Scheme;
    RewriterSettings m_Settings;
    std::string m_Text;
    Corvale::ITextDocStream m_In;
    Corvale::OIndentStream m_Out;
    // Offset of the first character of each line (line 1 at index 0).
    std::vector<std::size_t> m_LineStarts;
    // The opening and closing brackets of one kind in text order, with the
    // depth after each and a tree of minima over those depths, so that
    // whether the brackets of a stretch of text pair up among themselves is
    // a logarithmic look-up.
    class Brackets {
    public:
        void add(const Trn::Location& at, int step);
        void finish();
        bool pairUp(const Trn::Location& first, const Trn::Location& last) const;

    private:
        std::vector<Trn::Location> m_At;
        std::vector<int> m_DepthAfter;
        std::vector<int> m_MinTree;
    };

    // Facts from one lexer pass over the text, gathered on first use: the
    // start locations of its preprocessor lines, in text order, and its
    // braces, parentheses and square brackets.
    bool m_TokensRead = false;
    std::vector<Trn::Location> m_PreprocLines;
    Brackets m_Brackets[3];
    // Set while the single statement of a body is being visited when that
    // statement must not end in an if without else; read and cleared by the
    // control statement visit.
    bool m_GuardNext = false;
    // Results per statement node, so that no part of the tree is analysed
    // more than once.
    std::unordered_map<const Cpp::SyntaxNode*, bool> m_Complete;
    std::unordered_map<const Cpp::SyntaxNode*, bool> m_EndsOpen;
};

} // namespace StylistCpp

#endif

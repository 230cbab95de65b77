// StylistCpp::LineWrapper: the emitter of the wrap pass.
//
// It walks the syntax tree of a text that the format pass has laid out and
// writes the text again, breaking the constructs that run past the right
// margin. Every piece of text is copied exactly as read unless its node
// covers a line wider than RIGHT_MARGIN and its family's line wrapping is
// on: such a construct (an expression, a control statement head, a data
// declaration, an enumeration body, a member initialiser list, a function
// head, a base clause list, a template parameter list) is handed to the
// expression line wrapper with its family's wrap settings and strategy.
// Expressions that the walk reaches are re-spaced by the expression
// formatter as well; so are declarations of function pointers.
//
// Usage (one wrapper per pass and per tree):
//     std::ostringstream out;
//     StylistCpp::LineWrapper wrapper(text, out, scheme);
//     root.accept(wrapper);         // writes the whole wrapped text to out
//
// The constructor reads the scheme's keys once (a missing required key
// raises Stylist::PropertyMissingException; a negative RIGHT_MARGIN is a
// contract violation of the expression line wrapper it builds).
#ifndef STYLISTCPP_LINEWRAPPER_H
#define STYLISTCPP_LINEWRAPPER_H

#include "Corvale_OIndentStream.h"
#include "Cpp_Emitter.h"
#include "StylistCpp_ExprFormatter.h"
#include "StylistCpp_ExprLineWrapper.h"
#include "StylistCpp_FormatterConfig.h"
#include "StylistCpp_StdWrapStrategy.h"
#include "Stylist_PropertySet.h"
#include "Trn_Location.h"

#include <cstddef>
#include <deque>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace Cpp {
class InteriorNode;
class SyntaxNode;
}

namespace StylistCpp {

class LineWrapper : public Cpp::Emitter {
public:
    // text: the text the tree was parsed from, starting at column startCol;
    // out: where the wrapped text goes (not owned, must outlive the
    // wrapper); scheme: the run's scheme, copied and completed by the
    // defaulting step.
    LineWrapper(const std::string& text, std::ostream& out, const Stylist::PropertySet& scheme, int startCol = 0);
    ~LineWrapper() override;
    LineWrapper(const LineWrapper&) = delete;
    LineWrapper& operator=(const LineWrapper&) = delete;

    const LineWrapperSettings& settings() const { return m_Settings; }
    // The numbers (from 1) of the input lines wider than the right margin.
    const std::set<int>& overlongLines() const { return m_OverlongLines; }
    // Whether a node lies on an overlong line: its start line s and end
    // line e satisfy 1 <= s <= e and some line in s..e is overlong.
    bool overlong(const Cpp::SyntaxNode& node) const;

    // Copied through their end.
    void visitCaseNode(Cpp::CaseNode& node) override;
    void visitKeywordNode(Cpp::KeywordNode& node) override;
    void visitTypeNode(Cpp::TypeNode& node) override;
    void visitFunctionReturnNode(Cpp::FunctionReturnNode& node) override;
    void visitParameterNode(Cpp::ParameterNode& node) override;
    void visitParameterListNode(Cpp::ParameterListNode& node) override;
    void visitIdNode(Cpp::IdNode& node) override;
    void visitNamespaceHeadNode(Cpp::NamespaceHeadNode& node) override;
    void visitAccessSpecNode(Cpp::AccessSpecNode& node) override;
    void visitClassNameNode(Cpp::ClassNameNode& node) override;
    void visitBaseClauseNode(Cpp::BaseClauseNode& node) override;
    void visitTextNode(Cpp::TextNode& node) override;
    void visitLabelNode(Cpp::LabelNode& node) override;
    void visitAsmNode(Cpp::AsmNode& node) override;
    void visitArgNode(Cpp::ArgNode& node) override;
    void visitArgListNode(Cpp::ArgListNode& node) override;
    void visitCommentNode(Cpp::CommentNode& node) override;
    void visitPreprocDirectiveNode(Cpp::PreprocDirectiveNode& node) override;
    // Visited only while enumerations are wrapped (contract "m_EnumWrap").
    void visitEnumHeadNode(Cpp::EnumHeadNode& node) override;

    // Wrapped constructs.
    void visitExprNode(Cpp::ExprNode& node) override;
    void visitBaseClauseListNode(Cpp::BaseClauseListNode& node) override;
    void visitTemplateNode(Cpp::TemplateNode& node) override;
    void visitCtrlSubStmtHeadNode(Cpp::CtrlSubStmtHeadNode& node) override;
    void visitInitializerListNode(Cpp::InitializerListNode& node) override;
    void visitInitializerNode(Cpp::InitializerNode& node) override;
    void visitDataDeclNode(Cpp::DataDeclNode& node) override;
    void visitFunctionDeclNode(Cpp::FunctionDeclNode& node) override;
    void visitCtorDeclNode(Cpp::CtorDeclNode& node) override;
    void visitFunctionPtrDeclNode(Cpp::FunctionPtrDeclNode& node) override;
    // Contract "m_EnumWrap".
    void visitEnumBodyNode(Cpp::EnumBodyNode& node) override;

    // Bodies.
    void visitBlockNode(Cpp::BlockNode& node) override;
    void visitNamespaceBodyNode(Cpp::NamespaceBodyNode& node) override;
    void visitClassBodyNode(Cpp::ClassBodyNode& node) override;
    void visitLinkageBlockBodyNode(Cpp::LinkageBlockBodyNode& node) override;

    // Structural: the text between children is copied, the children are
    // visited in order.
    void visitRootNode(Cpp::RootNode& node) override;
    void visitClassDeclNode(Cpp::ClassDeclNode& node) override;
    void visitClassHeadNode(Cpp::ClassHeadNode& node) override;
    void visitNamespaceDeclNode(Cpp::NamespaceDeclNode& node) override;
    void visitLinkageBlockNode(Cpp::LinkageBlockNode& node) override;
    void visitEnumDeclNode(Cpp::EnumDeclNode& node) override;
    void visitCtrlStmtNode(Cpp::CtrlStmtNode& node) override;
    void visitCtrlSubStmtNode(Cpp::CtrlSubStmtNode& node) override;
    void visitInteriorNode(Cpp::InteriorNode& node) override;

private:
    // ---- reading and writing ---------------------------------------------
    std::size_t offsetOf(const Trn::Location& l) const;
    static bool valid(const Trn::Location& l) { return l.line() >= 1; }
    void copyUpTo(const Trn::Location& l);
    void copyThrough(const Trn::Location& l);
    void copyNode(const Cpp::SyntaxNode& node);
    // Takes the source from the read position through l without writing
    // it.
    std::string takeThrough(const Trn::Location& l);
    void write(const std::string& text);
    // Hands the finished lines written so far on to the output stream once
    // they make up a block: only the last line is ever looked at again
    // (position()), so the wrapper holds a block of its output at a time
    // instead of all of it.
    void passOnFinishedLines();
    // The output position: the column reached and the leading whitespace
    // of the current output line, with extraIndent added to the latter.
    Corvale::OIndentState position(const std::string& extraIndent = std::string()) const;
    // Wraps a construct's text at the output position and writes it.
    void writeWrapped(const std::string& text, const Corvale::OIndentState& at, const Stylist::WrapSettings& settings,
                      const ExprWrapStrategy& strategy);
    // Whether the source between two offsets holds a comment or directive.
    bool holdsTrivia(std::size_t from, std::size_t to) const;

    // ---- shared mechanisms -----------------------------------------------
    void visit(Cpp::SyntaxNode* pNode);
    void visitChildren(Cpp::InteriorNode& node);
    // The body routine: a bracketed body is copied through its "{", its
    // children are visited, and it is copied through its "}".
    void writeBody(Cpp::InteriorNode& body, bool bracketed);
    // The list wrapper: the elements of list joined by the comma strings,
    // wrapped with the settings and the strategy.
    // relay: the list's own line breaks are laid out by the wrap rules even
    // when it fits (ExprLineWrapper::relayBreaks).
    void wrapList(Cpp::InteriorNode& list, const std::string& beforeComma, const std::string& afterComma,
                  const std::string& prefix, const Stylist::WrapSettings& settings, const ExprWrapStrategy& strategy,
                  bool relay = false);
    void writeFunction(Cpp::FunctionDeclNode& node, Cpp::InitializerListNode* pInits);
    std::string enumText(Cpp::EnumBodyNode& body, const std::string& lineIndent, bool& relaid);

    LineWrapperSettings m_Settings;
    const std::string& m_Text;
    std::ostream& m_Out;
    int m_StartCol;
    std::vector<std::size_t> m_LineStarts;
    std::size_t m_Pos = 0; // read position in m_Text
    static constexpr std::size_t PASS_ON_SIZE = 64 * 1024;
    std::string m_Buffer; // the output not yet handed on
    // m_Buffer holds no line end before this offset.
    std::size_t m_NoLineEndBefore = 0;
    // The current output line, brought up to date lazily by position(), so
    // that every character written is looked at once: where it starts in
    // m_Buffer, where its leading blanks end, its column, and how far
    // m_Buffer has been looked at.
    mutable std::size_t m_LineStart = 0;
    mutable std::size_t m_IndentEnd = 0;
    mutable bool m_IndentDone = false;
    mutable int m_OutCol = 0;
    mutable std::size_t m_Scanned = 0;
    std::set<int> m_OverlongLines;
    // Columns of the enclosing blocks that are being re-laid out.
    std::deque<int> m_IndentStack;

    ExprFormatter m_ExprFormatter;
    ExprLineWrapper m_ExprWrapper;
    StdWrapStrategy m_StdStrategy;
    StdWrapStrategy m_ListStrategy;
    FnDeclWrapStrategy m_FnDeclStrategy;
    const ClassInitWrapStrategy& m_ClassInitStrategy;
    bool m_EnumWrap;
};

} // namespace StylistCpp

#endif

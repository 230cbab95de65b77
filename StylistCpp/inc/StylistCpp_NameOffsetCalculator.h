// StylistCpp::NameOffsetCalculator: the columns at which declared names
// start.
//
// It groups consecutive data declarations and consecutive function
// declarations (without body) of one scope and gives each group one name
// column: the widest "indentation + type" of the group, raised to the next
// tab stop. Inside a class body with ALIGN_CLASS_MEMBER_NAMES_LEFT, data
// members and member functions share one column; an access label does not
// end a group, so members on both sides of "public:" align together.
//
// Columns are absolute source columns: a declaration's extent counts the
// text before it on its line. Alongside each column the calculator keeps
// the indentation the group was measured from (the smallest such
// indentation among its members) and the column counted from there, so
// that a user of the columns can place the names relative to where the
// declarations are written.
//
// The type texts are read from the input stream given at construction, a
// stream over the text the tree was parsed from; it is read once from front
// to back, declaration by declaration. A type is measured as the formatter
// writes it before an aligned name: on one line and re-spaced by the
// expression formatter. A declaration with a comment or a preprocessor line
// between its type and its name is left out.
//
// The scheme must carry every key the expression formatter reads.
//
// Usage:
//     Corvale::ITextDocStream in(text);
//     StylistCpp::NameOffsetCalculator calc(in, scheme);
//     root.accept(calc);
//     auto data = calc.takeDataColumns();
//     auto functions = calc.takeFunctionColumns();
#ifndef STYLISTCPP_NAMEOFFSETCALCULATOR_H
#define STYLISTCPP_NAMEOFFSETCALCULATOR_H

#include "Corvale_ITextDocStream.h"
#include "StylistCpp_ExprFormatter.h"
#include "StylistCpp_FormatterConfig.h"
#include "Stylist_OffsetCalculator.h"

#include <deque>
#include <string>

namespace StylistCpp {

class NameOffsetCalculator : public Stylist::OffsetCalculator {
public:
    NameOffsetCalculator(Corvale::ITextDocStream& in, const Stylist::PropertySet& scheme);

    // Name columns of data declarations and of function declarations.
    const ColumnMap& dataColumns() const { return m_DataColumns; }
    const ColumnMap& functionColumns() const { return m_FunctionColumns; }
    ColumnMap takeDataColumns();
    ColumnMap takeFunctionColumns();
    // For every node in either map: the indentation (a column) its group
    // was measured from.
    const ColumnMap& indents() const { return m_Indents; }
    // For every node in either map: its name column counted from that
    // indentation (the group's widest extent beyond the indentation, raised
    // to the next tab stop), which is where the name goes when the group is
    // written at another indentation.
    const ColumnMap& offsets() const { return m_Offsets; }
    // For the data declarations whose pointer or reference signs are
    // written between the name column and the name (anchored to the name,
    // not hanging): how many columns the signs take.
    const ColumnMap& nameShifts() const { return m_NameShifts; }

    void visitDataDeclNode(Cpp::DataDeclNode& node) override;
    void visitFunctionDeclNode(Cpp::FunctionDeclNode& node) override;
    void visitCtorDeclNode(Cpp::CtorDeclNode& node) override;
    // Access labels do not end a name group.
    void visitAccessSpecNode(Cpp::AccessSpecNode& node) override;
    // The group of the members is ended by the enclosing class.
    void visitTemplateNode(Cpp::TemplateNode& node) override;
    void visitClassDeclNode(Cpp::ClassDeclNode& node) override;
    void visitClassBodyNode(Cpp::ClassBodyNode& node) override;
    void visitBlockNode(Cpp::BlockNode& node) override;

    void endGroup() override;

private:
    // One kind of name: its pending declarations, its group maximum, and
    // the smallest indentation among the measured members.
    struct Group {
        std::deque<const Cpp::SyntaxNode*> m_Pending;
        int m_Max = 0;
        int m_Indent = -1;
    };

    void visitFunction(Cpp::FunctionDeclNode& node);
    // Reads up to l (when l is ahead), keeping the column of the input.
    std::string readUpTo(const Trn::Location& l);
    std::string readThrough(const Trn::Location& l);
    void track(const std::string& text);
    bool ahead(const Trn::Location& l) const;
    // Measures the declaration starting at start whose type part runs from
    // typeStart through typeEnd and whose name starts at nameStart. Answers
    // false when it is not to be aligned (a comment between type and name);
    // otherwise extent and indent are set.
    bool measure(const Trn::Location& start, const Trn::Location& typeEnd, const Trn::Location& nameStart,
                 int& extent, int& indent);
    int signExtent(const std::string& text, int startCol, int indent, char sign);
    std::string respaced(const std::string& text, int col);
    static void add(Group& group, const Cpp::SyntaxNode& node, int extent, int indent, bool measured);
    void assign(Group& group, ColumnMap& columns, int column, int indent, int offset);

    Corvale::ITextDocStream& m_In;
    AlignmentSettings m_Settings;
    // Re-spaces type texts as the formatter writes them.
    ExprFormatter m_Expr;
    std::string m_NameGap;
    int m_Col = 0; // output column reached by the input read so far
    bool m_InClassBody = false;
    bool m_ClassBodyEnded = false;
    Group m_Data;
    Group m_Functions;
    ColumnMap m_DataColumns;
    ColumnMap m_FunctionColumns;
    ColumnMap m_Indents;
    ColumnMap m_Offsets;
    ColumnMap m_NameShifts;
    // The template head being measured: the column of "template" and the
    // column at which the declaration after it starts.
    int m_TemplateIndent = 0;
    int m_TemplateEnd = 0;
    std::string m_ParamGap;
    std::string m_TpBeforeOpen;
    std::string m_TpAfterOpen;
    std::string m_TpBeforeComma;
    std::string m_TpBetween;
    std::string m_TpBeforeClose;
    std::string m_TpAfterClose;
    int m_Shift = 0; // of the declaration measured last
};

} // namespace StylistCpp

#endif

// Stylist::OffsetCalculator: the group machinery of the alignment
// calculators.
//
// A calculator walks a whole syntax tree once, writing nothing. It collects
// consecutive declarations of one scope into an alignment group and, when
// the group ends, gives every member of the group one column. The
// formatter later looks a declaration up in the result map and pads it to
// that column; a declaration missing from the map is not aligned.
//
// This base decides where groups end (an access label, a statement, a
// nested class, an enumeration or a block ends one; comments, directives
// and template heads do not) and walks into the scopes that hold
// declarations. The concrete calculators measure the declarations.
//
// Usage:
//     DerivedCalculator calc(...);
//     root.accept(calc);
//     ColumnMap columns = calc.takeColumns();
//
// Every node is visited at most once and every pending node is assigned
// once per group, so a walk costs time linear in the size of the tree.
#ifndef STYLIST_OFFSETCALCULATOR_H
#define STYLIST_OFFSETCALCULATOR_H

#include "Cpp_Emitter.h"
#include "Stylist_PropertySet.h"
#include "Trn_Location.h"

#include <cstdint>
#include <deque>
#include <map>

namespace Cpp {
class SyntaxNode;
}

namespace Stylist {

class OffsetCalculator : public Cpp::Emitter {
public:
    // A declaration node (by identity) and its column.
    using ColumnMap = std::map<const Cpp::SyntaxNode*, int>;

    explicit OffsetCalculator(const PropertySet& scheme);
    ~OffsetCalculator() override;

    const ColumnMap& columns() const { return m_Columns; }
    ColumnMap takeColumns();

    // Group ends.
    void visitEnumDeclNode(Cpp::EnumDeclNode& node) override;
    void visitExprNode(Cpp::ExprNode& node) override;
    void visitAccessSpecNode(Cpp::AccessSpecNode& node) override;
    void visitInteriorNode(Cpp::InteriorNode& node) override;

    // A template head: the declaration under it is measured from the word
    // "template".
    void visitTemplateNode(Cpp::TemplateNode& node) override;

    // Scopes.
    void visitClassDeclNode(Cpp::ClassDeclNode& node) override;
    void visitClassBodyNode(Cpp::ClassBodyNode& node) override;
    void visitNamespaceDeclNode(Cpp::NamespaceDeclNode& node) override;
    void visitNamespaceBodyNode(Cpp::NamespaceBodyNode& node) override;
    void visitLinkageBlockNode(Cpp::LinkageBlockNode& node) override;
    void visitLinkageBlockBodyNode(Cpp::LinkageBlockBodyNode& node) override;
    void visitCtrlStmtNode(Cpp::CtrlStmtNode& node) override;
    void visitCtrlSubStmtNode(Cpp::CtrlSubStmtNode& node) override;
    void visitBlockNode(Cpp::BlockNode& node) override;
    void visitRootNode(Cpp::RootNode& node) override;

    // Gives every pending node the group's column and starts a new group.
    virtual void endGroup();

protected:
    // node joins the current group with the given extent (in columns).
    void join(const Cpp::SyntaxNode& node, int extent);
    // Visits every child of node in order.
    void visitChildren(Cpp::InteriorNode& node);
    void clearTemplate() { m_Template = false; }

    PropertySet m_Scheme;
    ColumnMap m_Columns;
    std::deque<const Cpp::SyntaxNode*> m_Pending;
    std::int32_t m_TabSize = 1;
    int m_GroupMax = 0;
    bool m_Template = false;
    Trn::Location m_TemplateStart;
};

} // namespace Stylist

#endif

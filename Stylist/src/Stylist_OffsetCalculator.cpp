#include "Stylist_OffsetCalculator.h"

#include "Cpp_CompositeNode.h"
#include "Cpp_InteriorNode.h"
#include "Cpp_LeafNode.h"
#include "Stylist_FormatterConfig.h"

#include <algorithm>
#include <utility>

namespace Stylist {

OffsetCalculator::OffsetCalculator(const PropertySet& scheme) : m_Scheme(scheme), m_TabSize(readTabSize(scheme)) {}

OffsetCalculator::~OffsetCalculator() = default;

OffsetCalculator::ColumnMap OffsetCalculator::takeColumns()
{
    ColumnMap columns;
    columns.swap(m_Columns);
    return columns;
}

void OffsetCalculator::join(const Cpp::SyntaxNode& node, int extent)
{
    m_Pending.push_back(&node);
    m_GroupMax = std::max(m_GroupMax, extent);
}

void OffsetCalculator::endGroup()
{
    for (const Cpp::SyntaxNode* pNode : m_Pending)
        m_Columns[pNode] = m_GroupMax;
    m_Pending.clear();
    m_GroupMax = 0;
}

void OffsetCalculator::visitChildren(Cpp::InteriorNode& node)
{
    for (Cpp::SyntaxNode* pChild : node.children())
        pChild->accept(*this);
}

// ---- group ends ----------------------------------------------------------------

void OffsetCalculator::visitEnumDeclNode(Cpp::EnumDeclNode&) { endGroup(); }

void OffsetCalculator::visitExprNode(Cpp::ExprNode&) { endGroup(); }

void OffsetCalculator::visitAccessSpecNode(Cpp::AccessSpecNode&) { endGroup(); }

void OffsetCalculator::visitInteriorNode(Cpp::InteriorNode&) { endGroup(); }

void OffsetCalculator::visitTemplateNode(Cpp::TemplateNode& node)
{
    m_Template = true;
    m_TemplateStart = node.start();
}

// ---- scopes --------------------------------------------------------------------

void OffsetCalculator::visitClassDeclNode(Cpp::ClassDeclNode& node)
{
    endGroup();
    if (node.body())
        node.body()->accept(*this);
    endGroup();
}

void OffsetCalculator::visitClassBodyNode(Cpp::ClassBodyNode& node)
{
    visitChildren(node);
    endGroup();
}

void OffsetCalculator::visitNamespaceDeclNode(Cpp::NamespaceDeclNode& node)
{
    if (!node.body())
        return;
    endGroup();
    node.body()->accept(*this);
}

void OffsetCalculator::visitNamespaceBodyNode(Cpp::NamespaceBodyNode& node)
{
    visitChildren(node);
    endGroup();
}

void OffsetCalculator::visitLinkageBlockNode(Cpp::LinkageBlockNode& node)
{
    endGroup();
    if (node.body())
        node.body()->accept(*this);
}

void OffsetCalculator::visitLinkageBlockBodyNode(Cpp::LinkageBlockBodyNode& node)
{
    visitChildren(node);
    endGroup();
}

// A control statement is a statement: it ends the group before it, each of
// its parts ends the group, and the declarations in its bodies form groups
// of their own.
void OffsetCalculator::visitCtrlStmtNode(Cpp::CtrlStmtNode& node)
{
    endGroup();
    visitChildren(node);
    endGroup();
}

void OffsetCalculator::visitCtrlSubStmtNode(Cpp::CtrlSubStmtNode& node)
{
    endGroup();
    if (node.body())
        node.body()->accept(*this);
}

void OffsetCalculator::visitBlockNode(Cpp::BlockNode& node)
{
    endGroup();
    visitChildren(node);
    endGroup();
}

void OffsetCalculator::visitRootNode(Cpp::RootNode& node)
{
    visitChildren(node);
    endGroup();
}

} // namespace Stylist

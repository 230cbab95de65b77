#include "StylistCpp_DataOffsetCalculator.h"

#include "Cpp_CompositeNode.h"
#include "Cpp_InteriorNode.h"
#include "Cpp_LeafNode.h"
#include "Stylist.h"
#include "StylistCpp_FormatterConfig.h"

namespace StylistCpp {

namespace {

// Columns a node covers on its line: one more than the distance from its
// first to its last character (node locations include the last one); 0
// for a node spread over several lines.
int widthOf(const Trn::Location& start, const Trn::Location& end)
{
    if (start.line() != end.line() || end < start)
        return 0;
    return Stylist::columnDifference(start, end) + 1;
}

} // namespace

DataOffsetCalculator::DataOffsetCalculator(const Stylist::PropertySet& scheme)
    : OffsetCalculator(scheme), m_AlignDdNamesLeft(readAlignmentSettings(m_Scheme).m_AlignDdNamesLeft)
{
}

void DataOffsetCalculator::visitDataDeclNode(Cpp::DataDeclNode& node)
{
    clearTemplate();
    const Cpp::TypeNode* pType = node.type();
    const Cpp::IdNode* pName = node.id();
    if (!pType) {
        join(node, pName ? widthOf(pName->start(), pName->end()) + 1 : 0);
        return;
    }
    if (!node.rest())
        return;
    int extent = 0;
    auto nameOffset = m_pNameOffsets ? m_pNameOffsets->find(&node) : ColumnMap::const_iterator();
    if (!pName)
        extent = widthOf(pType->start(), pType->end());
    else if (m_pNameOffsets && nameOffset != m_pNameOffsets->end())
        extent = nameOffset->second + widthOf(pName->start(), pName->end()) + 1;
    else if (m_pNameOffsets || !m_AlignDdNamesLeft)
        extent = widthOf(pType->start(), pName->end()) + 1;
    else
        extent = widthOf(pName->start(), pName->end()) + 1;
    join(node, extent);
}

void DataOffsetCalculator::visitFunction(Cpp::FunctionDeclNode& node)
{
    clearTemplate();
    endGroup();
    if (node.body())
        node.body()->accept(*this);
}

void DataOffsetCalculator::visitFunctionDeclNode(Cpp::FunctionDeclNode& node) { visitFunction(node); }

void DataOffsetCalculator::visitCtorDeclNode(Cpp::CtorDeclNode& node) { visitFunction(node); }

} // namespace StylistCpp

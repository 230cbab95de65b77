#include "Cpp_InteriorNode.h"

#include "Corvale_Exception.h"
#include "Cpp_Emitter.h"
#include "Trn_Exception.h"

#include <algorithm>

namespace Cpp {

// ---------------------------------------------------------------------------
// Plain interior nodes

InteriorNode::InteriorNode(const InteriorNode& other) : SyntaxNode(other)
{
    m_Nodes.reserve(other.m_Nodes.size());
    try {
        for (const SyntaxNode* pChild : other.m_Nodes) {
            std::unique_ptr<SyntaxNode> pCopy = pChild->clone();
            pCopy->m_pOwner = this;
            m_Nodes.push_back(pCopy.release());
        }
    }
    catch (...) {
        for (SyntaxNode* pChild : m_Nodes)
            delete pChild;
        throw;
    }
}

InteriorNode::~InteriorNode()
{
    for (SyntaxNode* pChild : m_Nodes)
        delete pChild;
}

void InteriorNode::setStart(const Trn::Location& location)
{
    if (!m_Nodes.empty())
        m_Nodes.front()->setStart(location);
}

Trn::Location InteriorNode::start() const
{
    return m_Nodes.empty() ? Trn::Location() : m_Nodes.front()->start();
}

void InteriorNode::setEnd(const Trn::Location& location)
{
    if (!m_Nodes.empty())
        m_Nodes.back()->setEnd(location);
}

Trn::Location InteriorNode::end() const
{
    return m_Nodes.empty() ? Trn::Location() : m_Nodes.back()->end();
}

void InteriorNode::accept(Emitter& emitter)
{
    emitter.visitInteriorNode(*this);
}

std::unique_ptr<SyntaxNode> InteriorNode::clone() const
{
    return std::make_unique<InteriorNode>(*this);
}

InteriorNode::iterator InteriorNode::childrenBegin()
{
    return m_Nodes.begin();
}

InteriorNode::const_iterator InteriorNode::childrenBegin() const
{
    return m_Nodes.begin();
}

InteriorNode::iterator InteriorNode::childrenEnd()
{
    return m_Nodes.end();
}

InteriorNode::const_iterator InteriorNode::childrenEnd() const
{
    return m_Nodes.end();
}

void InteriorNode::erase(iterator first, iterator last)
{
    for (iterator it = first; it != last; ++it)
        (*it)->m_pOwner = nullptr;
    m_Nodes.erase(first, last);
}

std::size_t InteriorNode::size() const
{
    return m_Nodes.size();
}

bool InteriorNode::empty() const
{
    return m_Nodes.empty();
}

void InteriorNode::add(SyntaxNode* pNode)
{
    if (pNode == nullptr)
        return;
    if (pNode->m_pOwner == this)
        throw Trn::AlreadyExistsException();
    m_Nodes.push_back(pNode);
    pNode->m_pOwner = this;
}

// accept calls the operation of the node's own class; clone copies the node
// with all its children.
#define CPP_INTERIOR_BASICS(Class)                                                                                  \
    void Class::accept(Emitter& emitter) { emitter.visit##Class(*this); }                                           \
    std::unique_ptr<SyntaxNode> Class::clone() const { return std::make_unique<Class>(*this); }

CPP_INTERIOR_BASICS(RootNode)
CPP_INTERIOR_BASICS(CtrlStmtNode)
CPP_INTERIOR_BASICS(BaseClauseListNode)
CPP_INTERIOR_BASICS(InitializerListNode)

// ---------------------------------------------------------------------------
// Bracketed interior nodes

CPP_INTERIOR_BASICS(ClassBodyNode)
CPP_INTERIOR_BASICS(EnumBodyNode)
CPP_INTERIOR_BASICS(NamespaceBodyNode)
CPP_INTERIOR_BASICS(BlockNode)
CPP_INTERIOR_BASICS(LinkageBlockBodyNode)
CPP_INTERIOR_BASICS(ParameterListNode)
CPP_INTERIOR_BASICS(ArgListNode)

#undef CPP_INTERIOR_BASICS

// A block written without braces (the single statement of a control part)
// has no locations of its own and spans its child.
Trn::Location BlockNode::start() const
{
    if (ownStart() == Trn::Location() && !empty())
        return InteriorNode::start();
    return ownStart();
}

Trn::Location BlockNode::end() const
{
    if (ownEnd() == Trn::Location() && !empty())
        return InteriorNode::end();
    return ownEnd();
}

Trn::Location LinkageBlockBodyNode::start() const
{
    if (ownStart() == Trn::Location() && !empty())
        return InteriorNode::start();
    return ownStart();
}

Trn::Location LinkageBlockBodyNode::end() const
{
    if (ownEnd() == Trn::Location() && !empty())
        return InteriorNode::end();
    return ownEnd();
}

// ---------------------------------------------------------------------------
// Insertion

// Every child knows the interior node whose list holds it (its owner), so
// the test "this node is already in this list" costs nothing, however long
// the list: the parser adds every statement of a long body one by one, and a
// search of the list on each add would make building such a body quadratic.
// The owner is set when a node enters a list and cleared when erase hands it
// back to the caller; a clone starts without an owner.

// add ignores a null node, since productions that do not apply return none
// and their result is added unconditionally. insert is only called with real
// nodes at real positions, so a null node or the end position is a broken
// precondition of the caller, not a condition to be handled.
//
// Both leave the list unchanged when they throw, and the caller then still
// owns the node it passed. (The two checks below keep their line numbers
// stable: contract reports name them.)

InteriorNode::iterator InteriorNode::insert(iterator it, SyntaxNode* pNode)
{
    CORVALE_CHECK(pNode != 0);
    CORVALE_CHECK(it != m_Nodes.end());
    if (pNode->m_pOwner == this)
        throw Trn::AlreadyExistsException();
    iterator inserted = m_Nodes.insert(it, pNode);
    pNode->m_pOwner = this;
    return inserted;
}

} // namespace Cpp

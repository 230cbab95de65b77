// Interior nodes of the C++ syntax tree: ordered lists of owned children.
#ifndef CPP_INTERIORNODE_H
#define CPP_INTERIORNODE_H

#include "Cpp_SyntaxNode.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace Cpp {

// An ordered list of owned children, never null, no node twice.
//
// A plain interior node has no locations of its own: it starts where its
// first child starts and ends where its last child ends, (0, 0) when it has
// no children; setting its start or end sets the first child's start or the
// last child's end.
class InteriorNode : public SyntaxNode {
public:
    using Children = std::vector<SyntaxNode*>;
    using iterator = Children::iterator;
    using const_iterator = Children::const_iterator;

    InteriorNode() = default;
    InteriorNode(const InteriorNode& other);
    InteriorNode& operator=(const InteriorNode&) = delete;
    ~InteriorNode() override;

    void setStart(const Trn::Location& location) override;
    Trn::Location start() const override;
    void setEnd(const Trn::Location& location) override;
    Trn::Location end() const override;
    CPP_NODE_OPERATIONS

    virtual iterator childrenBegin();
    virtual const_iterator childrenBegin() const;
    virtual iterator childrenEnd();
    virtual const_iterator childrenEnd() const;
    // Removes the children in [first, last) from the list without destroying
    // them: the caller takes them over.
    virtual void erase(iterator first, iterator last);
    virtual std::size_t size() const;
    virtual bool empty() const;

    // Appends pNode and takes it over. A null node is ignored; a node already
    // in this list throws Trn::AlreadyExistsException and the list is unchanged
    // (the caller keeps the node).
    void add(SyntaxNode* pNode);
    template <class T>
    void add(std::unique_ptr<T> pNode)
    {
        add(static_cast<SyntaxNode*>(pNode.get()));
        pNode.release();
    }
    // Inserts pNode before position and takes it over; returns the position of
    // the inserted node. pNode must not be null and position must not be the
    // end; a node already in this list throws Trn::AlreadyExistsException.
    iterator insert(iterator position, SyntaxNode* pNode);

    // Read access by index, for walkers that prefer it.
    const Children& children() const { return m_Nodes; }
    SyntaxNode* child(std::size_t index) const { return m_Nodes[index]; }

private:
    Children m_Nodes;
};

// The whole translation unit.
class RootNode : public InteriorNode {
public:
    RootNode() = default;
    CPP_NODE_OPERATIONS
};

// A whole control statement with its continuations (if / else if / else,
// do / while, try / catch): CtrlSubStmtNode children.
class CtrlStmtNode : public InteriorNode {
public:
    CtrlStmtNode() = default;
    CPP_NODE_OPERATIONS
};

// The base clause after ":": BaseClauseNode children.
class BaseClauseListNode : public InteriorNode {
public:
    BaseClauseListNode() = default;
    CPP_NODE_OPERATIONS
};

// A constructor's member initializer list: InitializerNode children.
class InitializerListNode : public InteriorNode {
public:
    InitializerListNode() = default;
    CPP_NODE_OPERATIONS
};

// An interior node with its own start and end: the opening and the closing
// bracket, brace or parenthesis.
class BracketedInteriorNode : public InteriorNode {
public:
    void setStart(const Trn::Location& location) override { m_Start = location; }
    Trn::Location start() const override { return m_Start; }
    void setEnd(const Trn::Location& location) override { m_End = location; }
    Trn::Location end() const override { return m_End; }

protected:
    BracketedInteriorNode(const Trn::Location& start, const Trn::Location& end) : m_Start(start), m_End(end) {}
    BracketedInteriorNode(const BracketedInteriorNode&) = default;
    // The own locations, without any fallback.
    const Trn::Location& ownStart() const { return m_Start; }
    const Trn::Location& ownEnd() const { return m_End; }

private:
    Trn::Location m_Start;
    Trn::Location m_End;
};

// The public part of a bracketed interior class: construction from the
// bracket locations and the node operations.
#define CPP_BRACKETED_NODE(Class)                                                                                   \
public:                                                                                                             \
    Class(const Trn::Location& start = {}, const Trn::Location& end = {}) : BracketedInteriorNode(start, end) {}    \
    CPP_NODE_OPERATIONS

class ClassBodyNode : public BracketedInteriorNode {
    CPP_BRACKETED_NODE(ClassBodyNode)
};

class EnumBodyNode : public BracketedInteriorNode {
    CPP_BRACKETED_NODE(EnumBodyNode)
};

class NamespaceBodyNode : public BracketedInteriorNode {
    CPP_BRACKETED_NODE(NamespaceBodyNode)
};

// A compound statement, or (without bracket locations) the single statement
// of a control part written without braces. Without its own start or end it
// reports the first child's start or the last child's end.
class BlockNode : public BracketedInteriorNode {
    CPP_BRACKETED_NODE(BlockNode)
public:
    Trn::Location start() const override;
    Trn::Location end() const override;
    // True when the block has brace locations of its own.
    bool isBraced() const { return ownStart() != Trn::Location(); }
};

// The braces of a linkage block; the same fallback as BlockNode.
class LinkageBlockBodyNode : public BracketedInteriorNode {
    CPP_BRACKETED_NODE(LinkageBlockBodyNode)
public:
    Trn::Location start() const override;
    Trn::Location end() const override;
};

// A parenthesised parameter list, also a template parameter list in angle
// brackets: ParameterNode children.
class ParameterListNode : public BracketedInteriorNode {
    CPP_BRACKETED_NODE(ParameterListNode)
};

// A parenthesised argument list: ArgNode children.
class ArgListNode : public BracketedInteriorNode {
    CPP_BRACKETED_NODE(ArgListNode)
};

#undef CPP_BRACKETED_NODE

} // namespace Cpp

#endif

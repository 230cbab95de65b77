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
    void accept(Emitter& emitter) override;
    std::unique_ptr<SyntaxNode> clone() const override;

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
    void accept(Emitter& emitter) override;
    std::unique_ptr<SyntaxNode> clone() const override;
};

// A whole control statement with its continuations (if / else if / else,
// do / while, try / catch): CtrlSubStmtNode children.
class CtrlStmtNode : public InteriorNode {
public:
    CtrlStmtNode() = default;
    void accept(Emitter& emitter) override;
    std::unique_ptr<SyntaxNode> clone() const override;
};

// The base clause after ":": BaseClauseNode children.
class BaseClauseListNode : public InteriorNode {
public:
    BaseClauseListNode() = default;
    void accept(Emitter& emitter) override;
    std::unique_ptr<SyntaxNode> clone() const override;
};

// A constructor's member initializer list: InitializerNode children.
class InitializerListNode : public InteriorNode {
public:
    InitializerListNode() = default;
    void accept(Emitter& emitter) override;
    std::unique_ptr<SyntaxNode> clone() const override;
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

class ClassBodyNode : public BracketedInteriorNode {
public:
    ClassBodyNode(const Trn::Location& start = {}, const Trn::Location& end = {}) : BracketedInteriorNode(start, end) {}
    void accept(Emitter& emitter) override;
    std::unique_ptr<SyntaxNode> clone() const override;
};

class EnumBodyNode : public BracketedInteriorNode {
public:
    EnumBodyNode(const Trn::Location& start = {}, const Trn::Location& end = {}) : BracketedInteriorNode(start, end) {}
    void accept(Emitter& emitter) override;
    std::unique_ptr<SyntaxNode> clone() const override;
};

class NamespaceBodyNode : public BracketedInteriorNode {
public:
    NamespaceBodyNode(const Trn::Location& start = {}, const Trn::Location& end = {})
        : BracketedInteriorNode(start, end)
    {
    }
    void accept(Emitter& emitter) override;
    std::unique_ptr<SyntaxNode> clone() const override;
};

// A compound statement, or (without bracket locations) the single statement
// of a control part written without braces. Without its own start or end it
// reports the first child's start or the last child's end.
class BlockNode : public BracketedInteriorNode {
public:
    BlockNode(const Trn::Location& start = {}, const Trn::Location& end = {}) : BracketedInteriorNode(start, end) {}
    Trn::Location start() const override;
    Trn::Location end() const override;
    // True when the block has brace locations of its own.
    bool isBraced() const { return ownStart() != Trn::Location(); }
    void accept(Emitter& emitter) override;
    std::unique_ptr<SyntaxNode> clone() const override;
};

// The braces of a linkage block; the same fallback as BlockNode.
class LinkageBlockBodyNode : public BracketedInteriorNode {
public:
    LinkageBlockBodyNode(const Trn::Location& start = {}, const Trn::Location& end = {})
        : BracketedInteriorNode(start, end)
    {
    }
    Trn::Location start() const override;
    Trn::Location end() const override;
    void accept(Emitter& emitter) override;
    std::unique_ptr<SyntaxNode> clone() const override;
};

// A parenthesised parameter list, also a template parameter list in angle
// brackets: ParameterNode children.
class ParameterListNode : public BracketedInteriorNode {
public:
    ParameterListNode(const Trn::Location& start = {}, const Trn::Location& end = {})
        : BracketedInteriorNode(start, end)
    {
    }
    void accept(Emitter& emitter) override;
    std::unique_ptr<SyntaxNode> clone() const override;
};

// A parenthesised argument list: ArgNode children.
class ArgListNode : public BracketedInteriorNode {
public:
    ArgListNode(const Trn::Location& start = {}, const Trn::Location& end = {}) : BracketedInteriorNode(start, end) {}
    void accept(Emitter& emitter) override;
    std::unique_ptr<SyntaxNode> clone() const override;
};

} // namespace Cpp

#endif

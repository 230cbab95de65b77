// Cpp::SyntaxNode: the base of every C++ syntax tree node.
#ifndef CPP_SYNTAXNODE_H
#define CPP_SYNTAXNODE_H

#include "Trn_SyntaxNode.h"

#include <memory>
#include <type_traits>
#include <typeinfo>

namespace Cpp {

class Emitter;
class InteriorNode;

// Adds the visitor entry point and deep copying to the location interface.
//
// accept calls the emitter's operation for the node's own class and does not
// descend into children: an emitter that wants the children visits them.
// clone returns a deep copy owned by the caller.
class SyntaxNode : public Trn::SyntaxNode {
public:
    virtual void accept(Emitter& emitter) = 0;
    virtual std::unique_ptr<SyntaxNode> clone() const = 0;

protected:
    SyntaxNode() = default;
    // A copy is not in any interior node's list, whatever the original was in.
    SyntaxNode(const SyntaxNode& other) : Trn::SyntaxNode(other) {}
    SyntaxNode& operator=(const SyntaxNode&) = delete;

private:
    friend class InteriorNode;
    // The interior node whose child list holds this node, if any. It makes the
    // "already in this list" test of InteriorNode::add constant-time.
    const InteriorNode* m_pOwner = nullptr;
};

// Whether the node is of the node class T, which has no subclasses: a
// comparison of type identities, where a dynamic_cast would search the
// class hierarchy (the walks ask this of every child they visit).
template <class T>
bool isA(const SyntaxNode* pNode)
{
    static_assert(std::is_final<T>::value, "isA tells apart classes without subclasses only");
    return pNode != nullptr && typeid(*pNode) == typeid(T);
}

// Inside a node class: declares the two operations that every concrete node
// class overrides. CPP_DEFINE_NODE_OPERATIONS(Class) in the class's source
// file defines them: accept calls the emitter's operation named after the
// class, clone is the deep copy made by the class's copy constructor.
#define CPP_NODE_OPERATIONS                                                                                         \
    void accept(Emitter& emitter) override;                                                                         \
    std::unique_ptr<SyntaxNode> clone() const override;

#define CPP_DEFINE_NODE_OPERATIONS(Class)                                                                           \
    void Class::accept(Emitter& emitter) { emitter.visit##Class(*this); }                                           \
    std::unique_ptr<SyntaxNode> Class::clone() const { return std::make_unique<Class>(*this); }

// A typed deep copy: cloneAs(node) has the static type of node.
template <class T>
std::unique_ptr<T> cloneAs(const T& node)
{
    return std::unique_ptr<T>(static_cast<T*>(node.clone().release()));
}

// Deep copy of an optional owned child.
template <class T>
std::unique_ptr<T> cloneChild(const std::unique_ptr<T>& pChild)
{
    return pChild ? cloneAs(*pChild) : std::unique_ptr<T>();
}

} // namespace Cpp

#endif

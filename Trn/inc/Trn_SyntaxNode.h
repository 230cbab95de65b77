// Trn::SyntaxNode: the language-independent root of every syntax tree node.
#ifndef TRN_SYNTAXNODE_H
#define TRN_SYNTAXNODE_H

#include "Trn_Location.h"

namespace Trn {

// A node knows where its construct lies in the source: a start and an end
// location. How a node stores or derives them is up to the node class.
class SyntaxNode {
public:
    virtual ~SyntaxNode() = default;

    virtual void setStart(const Location& location) = 0;
    virtual Location start() const = 0;
    virtual void setEnd(const Location& location) = 0;
    virtual Location end() const = 0;

protected:
    SyntaxNode() = default;
    SyntaxNode(const SyntaxNode&) = default;
    SyntaxNode& operator=(const SyntaxNode&) = default;
};

} // namespace Trn

#endif

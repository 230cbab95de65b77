#include "Cpp_LeafNode.h"

#include "Cpp.h"
#include "Cpp_Emitter.h"

namespace Cpp {

// accept calls the operation of the node's own class; clone copies the node.
#define CPP_LEAF_BASICS(Class)                                                                                      \
    void Class::accept(Emitter& emitter) { emitter.visit##Class(*this); }                                           \
    std::unique_ptr<SyntaxNode> Class::clone() const { return std::make_unique<Class>(*this); }

CPP_LEAF_BASICS(TextNode)
CPP_LEAF_BASICS(CommentNode)
CPP_LEAF_BASICS(PreprocDirectiveNode)
CPP_LEAF_BASICS(IdNode)
CPP_LEAF_BASICS(KeywordNode)
CPP_LEAF_BASICS(AccessSpecNode)
CPP_LEAF_BASICS(ClassNameNode)
CPP_LEAF_BASICS(BaseClauseNode)
CPP_LEAF_BASICS(EnumHeadNode)
CPP_LEAF_BASICS(NamespaceHeadNode)
CPP_LEAF_BASICS(TypeNode)
CPP_LEAF_BASICS(FunctionReturnNode)
CPP_LEAF_BASICS(ExprNode)
CPP_LEAF_BASICS(ArgNode)
CPP_LEAF_BASICS(ParameterNode)

#undef CPP_LEAF_BASICS

KeywordNode::KeywordNode(const Trn::Location& start, const Trn::Location& end, std::int32_t type)
    : LeafNode(start, end), m_Type(type)
{
    // Only the keywords from "class" to "default"; built-in type names and the
    // jump keywords are not held in keyword nodes.
    if (type < CLASS_KEY || type > DEFAULT_KEY)
        throw InvalidKeyword();
}

} // namespace Cpp

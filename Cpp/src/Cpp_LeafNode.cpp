#include "Cpp_LeafNode.h"

#include "Cpp.h"
#include "Cpp_Emitter.h"

namespace Cpp {

CPP_DEFINE_NODE_OPERATIONS(TextNode)
CPP_DEFINE_NODE_OPERATIONS(CommentNode)
CPP_DEFINE_NODE_OPERATIONS(PreprocDirectiveNode)
CPP_DEFINE_NODE_OPERATIONS(IdNode)
CPP_DEFINE_NODE_OPERATIONS(KeywordNode)
CPP_DEFINE_NODE_OPERATIONS(AccessSpecNode)
CPP_DEFINE_NODE_OPERATIONS(ClassNameNode)
CPP_DEFINE_NODE_OPERATIONS(BaseClauseNode)
CPP_DEFINE_NODE_OPERATIONS(EnumHeadNode)
CPP_DEFINE_NODE_OPERATIONS(NamespaceHeadNode)
CPP_DEFINE_NODE_OPERATIONS(TypeNode)
CPP_DEFINE_NODE_OPERATIONS(FunctionReturnNode)
CPP_DEFINE_NODE_OPERATIONS(ExprNode)
CPP_DEFINE_NODE_OPERATIONS(ArgNode)
CPP_DEFINE_NODE_OPERATIONS(ParameterNode)

KeywordNode::KeywordNode(const Trn::Location& start, const Trn::Location& end, std::int32_t type)
    : LeafNode(start, end), m_Type(type)
{
    // Only the keywords from "class" to "default"; built-in type names and the
    // jump keywords are not held in keyword nodes.
    if (type < CLASS_KEY || type > DEFAULT_KEY)
        throw InvalidKeyword();
}

} // namespace Cpp

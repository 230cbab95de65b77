#include "Cpp_CompositeNode.h"

#include "Cpp_Emitter.h"

namespace Cpp {

// ---------------------------------------------------------------------------
// Location fallback

// A present child without any location (an empty plain list) says nothing
// about where the composite lies, so it is passed over like a missing one.
Trn::Location CompositeNode::start() const
{
    if (m_Start != Trn::Location())
        return m_Start;
    for (std::size_t i = 0; i < fieldCount(); ++i) {
        if (const SyntaxNode* pField = field(i)) {
            Trn::Location location = pField->start();
            if (location != Trn::Location())
                return location;
        }
    }
    return Trn::Location();
}

Trn::Location CompositeNode::end() const
{
    if (m_End != Trn::Location())
        return m_End;
    for (std::size_t i = fieldCount(); i-- > 0;) {
        if (const SyntaxNode* pField = field(i)) {
            Trn::Location location = pField->end();
            if (location != Trn::Location())
                return location;
        }
    }
    return Trn::Location();
}

namespace {

// The child at index among a composite's fields, given in field order.
template <class... Fields>
const SyntaxNode* fieldAt(std::size_t index, const Fields*... fields)
{
    const SyntaxNode* all[] = {fields...};
    return index < sizeof...(Fields) ? all[index] : nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// Statement composites

CPP_DEFINE_NODE_OPERATIONS(CtrlSubStmtHeadNode)
CtrlSubStmtHeadNode::CtrlSubStmtHeadNode(std::unique_ptr<KeywordNode> pKeyword, std::unique_ptr<ExprNode> pExpr)
    : m_pKeyword(std::move(pKeyword)), m_pExpr(std::move(pExpr))
{
}
CtrlSubStmtHeadNode::CtrlSubStmtHeadNode(const CtrlSubStmtHeadNode& other)
    : CompositeNode(other), m_pKeyword(cloneChild(other.m_pKeyword)), m_pExpr(cloneChild(other.m_pExpr))
{
}
const SyntaxNode* CtrlSubStmtHeadNode::field(std::size_t index) const
{
    return fieldAt(index, m_pKeyword.get(), m_pExpr.get());
}

CPP_DEFINE_NODE_OPERATIONS(CtrlSubStmtNode)
CtrlSubStmtNode::CtrlSubStmtNode(std::unique_ptr<CtrlSubStmtHeadNode> pHead, std::unique_ptr<BlockNode> pBody)
    : m_pHead(std::move(pHead)), m_pBody(std::move(pBody))
{
}
CtrlSubStmtNode::CtrlSubStmtNode(const CtrlSubStmtNode& other)
    : CompositeNode(other), m_pHead(cloneChild(other.m_pHead)), m_pBody(cloneChild(other.m_pBody))
{
}
const SyntaxNode* CtrlSubStmtNode::field(std::size_t index) const
{
    return fieldAt(index, m_pHead.get(), m_pBody.get());
}

CPP_DEFINE_NODE_OPERATIONS(CaseNode)
CaseNode::CaseNode(std::unique_ptr<KeywordNode> pKeyword, std::unique_ptr<ExprNode> pExpr)
    : m_pKeyword(std::move(pKeyword)), m_pExpr(std::move(pExpr))
{
}
CaseNode::CaseNode(const CaseNode& other)
    : CompositeNode(other), m_pKeyword(cloneChild(other.m_pKeyword)), m_pExpr(cloneChild(other.m_pExpr))
{
}
const SyntaxNode* CaseNode::field(std::size_t index) const
{
    return fieldAt(index, m_pKeyword.get(), m_pExpr.get());
}

CPP_DEFINE_NODE_OPERATIONS(LabelNode)
LabelNode::LabelNode(std::unique_ptr<IdNode> pId) : m_pId(std::move(pId)) {}
LabelNode::LabelNode(const LabelNode& other) : CompositeNode(other), m_pId(cloneChild(other.m_pId)) {}
const SyntaxNode* LabelNode::field(std::size_t index) const
{
    return fieldAt(index, m_pId.get());
}

CPP_DEFINE_NODE_OPERATIONS(AsmNode)
AsmNode::AsmNode(std::unique_ptr<TextNode> pText, std::unique_ptr<BlockNode> pBlock, std::int32_t value)
    : m_pText(std::move(pText)), m_pBlock(std::move(pBlock)), m_Value(value)
{
}
AsmNode::AsmNode(const AsmNode& other)
    : CompositeNode(other), m_pText(cloneChild(other.m_pText)), m_pBlock(cloneChild(other.m_pBlock)),
      m_Value(other.m_Value)
{
}
const SyntaxNode* AsmNode::field(std::size_t index) const
{
    return fieldAt(index, m_pText.get(), m_pBlock.get());
}

// ---------------------------------------------------------------------------
// Head composites

CPP_DEFINE_NODE_OPERATIONS(ClassHeadNode)
ClassHeadNode::ClassHeadNode(std::unique_ptr<ClassNameNode> pName, std::unique_ptr<BaseClauseListNode> pBases)
    : m_pClassName(std::move(pName)), m_pBaseClauses(std::move(pBases))
{
}
ClassHeadNode::ClassHeadNode(const ClassHeadNode& other)
    : CompositeNode(other), m_pClassName(cloneChild(other.m_pClassName)),
      m_pBaseClauses(cloneChild(other.m_pBaseClauses))
{
}
const SyntaxNode* ClassHeadNode::field(std::size_t index) const
{
    return fieldAt(index, m_pClassName.get(), m_pBaseClauses.get());
}

CPP_DEFINE_NODE_OPERATIONS(InitializerNode)
InitializerNode::InitializerNode(std::unique_ptr<IdNode> pId, std::unique_ptr<ArgListNode> pArgs)
    : m_pId(std::move(pId)), m_pArgs(std::move(pArgs))
{
}
InitializerNode::InitializerNode(const InitializerNode& other)
    : CompositeNode(other), m_pId(cloneChild(other.m_pId)), m_pArgs(cloneChild(other.m_pArgs))
{
}
const SyntaxNode* InitializerNode::field(std::size_t index) const
{
    return fieldAt(index, m_pId.get(), m_pArgs.get());
}

CPP_DEFINE_NODE_OPERATIONS(TemplateNode)
TemplateNode::TemplateNode(std::unique_ptr<KeywordNode> pKeyword, std::unique_ptr<ParameterListNode> pParams)
    : m_pKeyword(std::move(pKeyword)), m_pParameters(std::move(pParams))
{
}
TemplateNode::TemplateNode(const TemplateNode& other)
    : CompositeNode(other), m_pKeyword(cloneChild(other.m_pKeyword)), m_pParameters(cloneChild(other.m_pParameters))
{
}
const SyntaxNode* TemplateNode::field(std::size_t index) const
{
    return fieldAt(index, m_pKeyword.get(), m_pParameters.get());
}

CPP_DEFINE_NODE_OPERATIONS(FunctionHeadNode)
FunctionHeadNode::FunctionHeadNode(std::unique_ptr<FunctionReturnNode> pReturnType, std::unique_ptr<IdNode> pId,
                                   std::unique_ptr<ParameterListNode> pParams, std::unique_ptr<TextNode> pTrailing,
                                   std::unique_ptr<ExprNode> pExceptionSpec, std::unique_ptr<ExprNode> pPureSpec)
    : m_pReturnType(std::move(pReturnType)), m_pId(std::move(pId)), m_pParameters(std::move(pParams)),
      m_pTrailing(std::move(pTrailing)), m_pExceptionSpec(std::move(pExceptionSpec)), m_pPureSpec(std::move(pPureSpec))
{
}
FunctionHeadNode::FunctionHeadNode(const FunctionHeadNode& other)
    : CompositeNode(other), m_pReturnType(cloneChild(other.m_pReturnType)), m_pId(cloneChild(other.m_pId)),
      m_pParameters(cloneChild(other.m_pParameters)), m_pTrailing(cloneChild(other.m_pTrailing)),
      m_pExceptionSpec(cloneChild(other.m_pExceptionSpec)), m_pPureSpec(cloneChild(other.m_pPureSpec))
{
}
const SyntaxNode* FunctionHeadNode::field(std::size_t index) const
{
    return fieldAt(index, m_pReturnType.get(), m_pId.get(), m_pParameters.get(), m_pTrailing.get(),
                   m_pExceptionSpec.get(), m_pPureSpec.get());
}

// ---------------------------------------------------------------------------
// Declarations

CPP_DEFINE_NODE_OPERATIONS(ClassDeclNode)
ClassDeclNode::ClassDeclNode(std::unique_ptr<ClassHeadNode> pHead, std::unique_ptr<ClassBodyNode> pBody)
    : m_pHead(std::move(pHead)), m_pBody(std::move(pBody))
{
}
ClassDeclNode::ClassDeclNode(const ClassDeclNode& other)
    : DeclNode(other), m_pHead(cloneChild(other.m_pHead)), m_pBody(cloneChild(other.m_pBody))
{
}
const SyntaxNode* ClassDeclNode::field(std::size_t index) const
{
    return fieldAt(index, m_pHead.get(), m_pBody.get());
}

CPP_DEFINE_NODE_OPERATIONS(EnumDeclNode)
EnumDeclNode::EnumDeclNode(std::unique_ptr<EnumHeadNode> pHead, std::unique_ptr<EnumBodyNode> pBody)
    : m_pHead(std::move(pHead)), m_pBody(std::move(pBody))
{
}
EnumDeclNode::EnumDeclNode(const EnumDeclNode& other)
    : DeclNode(other), m_pHead(cloneChild(other.m_pHead)), m_pBody(cloneChild(other.m_pBody))
{
}
const SyntaxNode* EnumDeclNode::field(std::size_t index) const
{
    return fieldAt(index, m_pHead.get(), m_pBody.get());
}

CPP_DEFINE_NODE_OPERATIONS(NamespaceDeclNode)
NamespaceDeclNode::NamespaceDeclNode(std::unique_ptr<NamespaceHeadNode> pHead, std::unique_ptr<NamespaceBodyNode> pBody)
    : m_pHead(std::move(pHead)), m_pBody(std::move(pBody))
{
}
NamespaceDeclNode::NamespaceDeclNode(const NamespaceDeclNode& other)
    : DeclNode(other), m_pHead(cloneChild(other.m_pHead)), m_pBody(cloneChild(other.m_pBody))
{
}
const SyntaxNode* NamespaceDeclNode::field(std::size_t index) const
{
    return fieldAt(index, m_pHead.get(), m_pBody.get());
}

CPP_DEFINE_NODE_OPERATIONS(LinkageBlockNode)
LinkageBlockNode::LinkageBlockNode(std::unique_ptr<ExprNode> pExpr, std::unique_ptr<LinkageBlockBodyNode> pBody)
    : m_pExpr(std::move(pExpr)), m_pBody(std::move(pBody))
{
}
LinkageBlockNode::LinkageBlockNode(const LinkageBlockNode& other)
    : DeclNode(other), m_pExpr(cloneChild(other.m_pExpr)), m_pBody(cloneChild(other.m_pBody))
{
}
const SyntaxNode* LinkageBlockNode::field(std::size_t index) const
{
    return fieldAt(index, m_pExpr.get(), m_pBody.get());
}

CPP_DEFINE_NODE_OPERATIONS(DataDeclNode)
DataDeclNode::DataDeclNode(std::unique_ptr<TypeNode> pType, std::unique_ptr<IdNode> pId,
                           std::unique_ptr<ExprNode> pRest)
    : m_pType(std::move(pType)), m_pId(std::move(pId)), m_pRest(std::move(pRest))
{
}
DataDeclNode::DataDeclNode(const DataDeclNode& other)
    : DeclNode(other), m_pType(cloneChild(other.m_pType)), m_pId(cloneChild(other.m_pId)),
      m_pRest(cloneChild(other.m_pRest))
{
}
const SyntaxNode* DataDeclNode::field(std::size_t index) const
{
    return fieldAt(index, m_pType.get(), m_pId.get(), m_pRest.get());
}

CPP_DEFINE_NODE_OPERATIONS(FunctionPtrDeclNode)
FunctionPtrDeclNode::FunctionPtrDeclNode(std::unique_ptr<TypeNode> pType, std::unique_ptr<IdNode> pId,
                                         std::unique_ptr<ParameterListNode> pParams,
                                         std::unique_ptr<TextNode> pTrailing)
    : m_pType(std::move(pType)), m_pId(std::move(pId)), m_pParameters(std::move(pParams)),
      m_pTrailing(std::move(pTrailing))
{
}
FunctionPtrDeclNode::FunctionPtrDeclNode(const FunctionPtrDeclNode& other)
    : DeclNode(other), m_pType(cloneChild(other.m_pType)), m_pId(cloneChild(other.m_pId)),
      m_pParameters(cloneChild(other.m_pParameters)), m_pTrailing(cloneChild(other.m_pTrailing))
{
}
const SyntaxNode* FunctionPtrDeclNode::field(std::size_t index) const
{
    return fieldAt(index, m_pType.get(), m_pId.get(), m_pParameters.get(), m_pTrailing.get());
}

CPP_DEFINE_NODE_OPERATIONS(FunctionDeclNode)
FunctionDeclNode::FunctionDeclNode(std::unique_ptr<FunctionHeadNode> pHead, std::unique_ptr<BlockNode> pBody)
    : m_pBody(std::move(pBody)), m_pHead(std::move(pHead))
{
}
FunctionDeclNode::FunctionDeclNode(const FunctionDeclNode& other)
    : DeclNode(other), m_pBody(cloneChild(other.m_pBody)), m_pHead(cloneChild(other.m_pHead)),
      m_pHandlers(cloneChild(other.m_pHandlers))
{
}
const SyntaxNode* FunctionDeclNode::field(std::size_t index) const
{
    return fieldAt(index, m_pHead.get(), m_pBody.get());
}
void FunctionDeclNode::setHead(std::unique_ptr<FunctionHeadNode> pHead)
{
    m_pHead = std::move(pHead);
}

CPP_DEFINE_NODE_OPERATIONS(CtorDeclNode)
CtorDeclNode::CtorDeclNode(std::unique_ptr<FunctionHeadNode> pHead, std::unique_ptr<InitializerListNode> pInits,
                           std::unique_ptr<BlockNode> pBody)
    : FunctionDeclNode(std::move(pHead), std::move(pBody)), m_pInitializers(std::move(pInits))
{
}
CtorDeclNode::CtorDeclNode(const CtorDeclNode& other)
    : FunctionDeclNode(other), m_pInitializers(cloneChild(other.m_pInitializers))
{
}
const SyntaxNode* CtorDeclNode::field(std::size_t index) const
{
    return fieldAt(index, head(), m_pInitializers.get(), body());
}

} // namespace Cpp

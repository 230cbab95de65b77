// Composite nodes of the C++ syntax tree: fixed sets of owned, optional
// children, and the declaration nodes.
#ifndef CPP_COMPOSITENODE_H
#define CPP_COMPOSITENODE_H

#include "Cpp_InteriorNode.h"
#include "Cpp_LeafNode.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace Cpp {

// A node with a fixed list of optional children (its fields, in field order)
// and its own start and end. When its own start is (0, 0) it reports the
// start of its first present child that has a location, in field order; when
// its own end is (0, 0), the end of the last such child.
class CompositeNode : public SyntaxNode {
public:
    void setStart(const Trn::Location& location) override { m_Start = location; }
    Trn::Location start() const override;
    void setEnd(const Trn::Location& location) override { m_End = location; }
    Trn::Location end() const override;

    // The fields in field order; a missing child is null.
    virtual std::size_t fieldCount() const = 0;
    virtual const SyntaxNode* field(std::size_t index) const = 0;

protected:
    CompositeNode() = default;
    CompositeNode(const CompositeNode&) = default;

private:
    Trn::Location m_Start;
    Trn::Location m_End;
};

// Accessors of one owned child field: getter for reading (may be null) and a
// setter that takes the new child over and destroys the old one.
#define CPP_NODE_FIELD(Type, getter, setter, member)                                                               \
public:                                                                                                             \
    Type* getter() { return member.get(); }                                                                         \
    const Type* getter() const { return member.get(); }                                                             \
    void setter(std::unique_ptr<Type> p) { member = std::move(p); }                                                 \
                                                                                                                    \
private:                                                                                                            \
    std::unique_ptr<Type> member;

// The operations of a composite class with count fields, beside its
// constructor from its children.
#define CPP_COMPOSITE_OPERATIONS(Class, count)                                                                      \
public:                                                                                                             \
    Class(const Class& other);                                                                                      \
    std::size_t fieldCount() const override { return count; }                                                       \
    const SyntaxNode* field(std::size_t index) const override;                                                      \
    CPP_NODE_OPERATIONS

// The head of one control part: the keyword and the parenthesised condition.
class CtrlSubStmtHeadNode : public CompositeNode {
public:
    CtrlSubStmtHeadNode(std::unique_ptr<KeywordNode> pKeyword = {}, std::unique_ptr<ExprNode> pExpr = {});
    CPP_COMPOSITE_OPERATIONS(CtrlSubStmtHeadNode, 2)
    CPP_NODE_FIELD(KeywordNode, keyword, setKeyword, m_pKeyword)
    CPP_NODE_FIELD(ExprNode, expr, setExpr, m_pExpr)
};

// One control part with its body.
class CtrlSubStmtNode : public CompositeNode {
public:
    CtrlSubStmtNode(std::unique_ptr<CtrlSubStmtHeadNode> pHead = {}, std::unique_ptr<BlockNode> pBody = {});
    CPP_COMPOSITE_OPERATIONS(CtrlSubStmtNode, 2)
    CPP_NODE_FIELD(CtrlSubStmtHeadNode, head, setHead, m_pHead)
    CPP_NODE_FIELD(BlockNode, body, setBody, m_pBody)
};

// A case or default label: the keyword and, for case, the label expression.
class CaseNode final : public CompositeNode {
public:
    CaseNode(std::unique_ptr<KeywordNode> pKeyword = {}, std::unique_ptr<ExprNode> pExpr = {});
    CPP_COMPOSITE_OPERATIONS(CaseNode, 2)
    CPP_NODE_FIELD(KeywordNode, keyword, setKeyword, m_pKeyword)
    CPP_NODE_FIELD(ExprNode, expr, setExpr, m_pExpr)
};

// A goto label.
class LabelNode : public CompositeNode {
public:
    explicit LabelNode(std::unique_ptr<IdNode> pId = {});
    CPP_COMPOSITE_OPERATIONS(LabelNode, 1)
    CPP_NODE_FIELD(IdNode, id, setId, m_pId)
};

// An assembler statement: the text of a one-line statement, or the braced
// body as a block. The value is 1 for the braced form, 0 for the one-line form.
class AsmNode : public CompositeNode {
public:
    AsmNode(std::unique_ptr<TextNode> pText = {}, std::unique_ptr<BlockNode> pBlock = {}, std::int32_t value = 0);
    CPP_COMPOSITE_OPERATIONS(AsmNode, 2)
public:
    std::int32_t value() const { return m_Value; }
    void setValue(std::int32_t value) { m_Value = value; }
    CPP_NODE_FIELD(TextNode, text, setText, m_pText)
    CPP_NODE_FIELD(BlockNode, block, setBlock, m_pBlock)
private:
    std::int32_t m_Value;
};

// A class head: the class key with the name, and the base clause.
class ClassHeadNode : public CompositeNode {
public:
    ClassHeadNode(std::unique_ptr<ClassNameNode> pName = {}, std::unique_ptr<BaseClauseListNode> pBases = {});
    CPP_COMPOSITE_OPERATIONS(ClassHeadNode, 2)
    CPP_NODE_FIELD(ClassNameNode, className, setClassName, m_pClassName)
    CPP_NODE_FIELD(BaseClauseListNode, baseClauses, setBaseClauses, m_pBaseClauses)
};

// One member initializer: the member's name and its argument list.
class InitializerNode : public CompositeNode {
public:
    InitializerNode(std::unique_ptr<IdNode> pId = {}, std::unique_ptr<ArgListNode> pArgs = {});
    CPP_COMPOSITE_OPERATIONS(InitializerNode, 2)
    CPP_NODE_FIELD(IdNode, id, setId, m_pId)
    CPP_NODE_FIELD(ArgListNode, args, setArgs, m_pArgs)
};

// A template head: the keyword and the parameter list in angle brackets.
class TemplateNode final : public CompositeNode {
public:
    TemplateNode(std::unique_ptr<KeywordNode> pKeyword = {}, std::unique_ptr<ParameterListNode> pParams = {});
    CPP_COMPOSITE_OPERATIONS(TemplateNode, 2)
    CPP_NODE_FIELD(KeywordNode, keyword, setKeyword, m_pKeyword)
    CPP_NODE_FIELD(ParameterListNode, parameters, setParameters, m_pParameters)
};

// A function head: return part, name, parameters, the text after the
// parameter list, the exception specification and the pure specifier.
class FunctionHeadNode : public CompositeNode {
public:
    FunctionHeadNode(std::unique_ptr<FunctionReturnNode> pReturnType = {}, std::unique_ptr<IdNode> pId = {},
                     std::unique_ptr<ParameterListNode> pParams = {}, std::unique_ptr<TextNode> pTrailing = {},
                     std::unique_ptr<ExprNode> pExceptionSpec = {}, std::unique_ptr<ExprNode> pPureSpec = {});
    CPP_COMPOSITE_OPERATIONS(FunctionHeadNode, 6)
    CPP_NODE_FIELD(FunctionReturnNode, returnType, setReturnType, m_pReturnType)
    CPP_NODE_FIELD(IdNode, id, setId, m_pId)
    CPP_NODE_FIELD(ParameterListNode, parameters, setParameters, m_pParameters)
    CPP_NODE_FIELD(TextNode, trailing, setTrailing, m_pTrailing)
    CPP_NODE_FIELD(ExprNode, exceptionSpec, setExceptionSpec, m_pExceptionSpec)
    CPP_NODE_FIELD(ExprNode, pureSpec, setPureSpec, m_pPureSpec)
};

// The base of the declaration nodes.
class DeclNode : public CompositeNode {
protected:
    DeclNode() = default;
    DeclNode(const DeclNode&) = default;
};

// A class, struct or union declaration.
class ClassDeclNode final : public DeclNode {
public:
    ClassDeclNode(std::unique_ptr<ClassHeadNode> pHead = {}, std::unique_ptr<ClassBodyNode> pBody = {});
    CPP_COMPOSITE_OPERATIONS(ClassDeclNode, 2)
    CPP_NODE_FIELD(ClassHeadNode, head, setHead, m_pHead)
    CPP_NODE_FIELD(ClassBodyNode, body, setBody, m_pBody)
};

// An enumeration.
class EnumDeclNode final : public DeclNode {
public:
    EnumDeclNode(std::unique_ptr<EnumHeadNode> pHead = {}, std::unique_ptr<EnumBodyNode> pBody = {});
    CPP_COMPOSITE_OPERATIONS(EnumDeclNode, 2)
    CPP_NODE_FIELD(EnumHeadNode, head, setHead, m_pHead)
    CPP_NODE_FIELD(EnumBodyNode, body, setBody, m_pBody)
};

// A namespace.
class NamespaceDeclNode : public DeclNode {
public:
    NamespaceDeclNode(std::unique_ptr<NamespaceHeadNode> pHead = {}, std::unique_ptr<NamespaceBodyNode> pBody = {});
    CPP_COMPOSITE_OPERATIONS(NamespaceDeclNode, 2)
    CPP_NODE_FIELD(NamespaceHeadNode, head, setHead, m_pHead)
    CPP_NODE_FIELD(NamespaceBodyNode, body, setBody, m_pBody)
};

// A linkage block, extern "C" { ... }: the text before the brace and the body.
class LinkageBlockNode : public DeclNode {
public:
    LinkageBlockNode(std::unique_ptr<ExprNode> pExpr = {}, std::unique_ptr<LinkageBlockBodyNode> pBody = {});
    CPP_COMPOSITE_OPERATIONS(LinkageBlockNode, 2)
    CPP_NODE_FIELD(ExprNode, expr, setExpr, m_pExpr)
    CPP_NODE_FIELD(LinkageBlockBodyNode, body, setBody, m_pBody)
};

// A variable or member declaration: type, name, and the rest up to the
// semicolon (bit-field width, array bounds, initializer, further declarators).
class DataDeclNode final : public DeclNode {
public:
    DataDeclNode(std::unique_ptr<TypeNode> pType = {}, std::unique_ptr<IdNode> pId = {},
                 std::unique_ptr<ExprNode> pRest = {});
    CPP_COMPOSITE_OPERATIONS(DataDeclNode, 3)
    CPP_NODE_FIELD(TypeNode, type, setType, m_pType)
    CPP_NODE_FIELD(IdNode, id, setId, m_pId)
    CPP_NODE_FIELD(ExprNode, rest, setRest, m_pRest)
};

// A declaration of a pointer to function.
class FunctionPtrDeclNode : public DeclNode {
public:
    FunctionPtrDeclNode(std::unique_ptr<TypeNode> pType = {}, std::unique_ptr<IdNode> pId = {},
                        std::unique_ptr<ParameterListNode> pParams = {}, std::unique_ptr<TextNode> pTrailing = {});
    CPP_COMPOSITE_OPERATIONS(FunctionPtrDeclNode, 4)
    CPP_NODE_FIELD(TypeNode, type, setType, m_pType)
    CPP_NODE_FIELD(IdNode, id, setId, m_pId)
    CPP_NODE_FIELD(ParameterListNode, parameters, setParameters, m_pParameters)
    CPP_NODE_FIELD(TextNode, trailing, setTrailing, m_pTrailing)
};

// A function declaration (no body) or definition.
class FunctionDeclNode : public DeclNode {
public:
    FunctionDeclNode(std::unique_ptr<FunctionHeadNode> pHead = {}, std::unique_ptr<BlockNode> pBody = {});
    CPP_COMPOSITE_OPERATIONS(FunctionDeclNode, 2)
    // Replaces the head, destroying the previous one.
    virtual void setHead(std::unique_ptr<FunctionHeadNode> pHead);
    FunctionHeadNode* head() { return m_pHead.get(); }
    const FunctionHeadNode* head() const { return m_pHead.get(); }
    // The catch clauses of a function-try-block, each a CtrlSubStmtNode, or
    // null. They are no field: walks that do not ask for them see them as
    // text after the body.
    CtrlStmtNode* handlers() { return m_pHandlers.get(); }
    const CtrlStmtNode* handlers() const { return m_pHandlers.get(); }
    void setHandlers(std::unique_ptr<CtrlStmtNode> pHandlers) { m_pHandlers = std::move(pHandlers); }
    CPP_NODE_FIELD(BlockNode, body, setBody, m_pBody)
private:
    std::unique_ptr<FunctionHeadNode> m_pHead;
    std::unique_ptr<CtrlStmtNode> m_pHandlers;
};

// A constructor definition with member initializers. Field order: head,
// initializer list, body.
class CtorDeclNode : public FunctionDeclNode {
public:
    CtorDeclNode(std::unique_ptr<FunctionHeadNode> pHead = {}, std::unique_ptr<InitializerListNode> pInits = {},
                 std::unique_ptr<BlockNode> pBody = {});
    CPP_COMPOSITE_OPERATIONS(CtorDeclNode, 3)
    CPP_NODE_FIELD(InitializerListNode, initializers, setInitializers, m_pInitializers)
};

#undef CPP_NODE_FIELD
#undef CPP_COMPOSITE_OPERATIONS

} // namespace Cpp

#endif

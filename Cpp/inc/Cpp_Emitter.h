// Cpp::Emitter: the visitor over the C++ syntax tree.
#ifndef CPP_EMITTER_H
#define CPP_EMITTER_H

namespace Cpp {

class AccessSpecNode;
class ArgListNode;
class ArgNode;
class AsmNode;
class BaseClauseListNode;
class BaseClauseNode;
class BlockNode;
class CaseNode;
class ClassBodyNode;
class ClassDeclNode;
class ClassHeadNode;
class ClassNameNode;
class CommentNode;
class CtorDeclNode;
class CtrlStmtNode;
class CtrlSubStmtHeadNode;
class CtrlSubStmtNode;
class DataDeclNode;
class EnumBodyNode;
class EnumDeclNode;
class EnumHeadNode;
class ExprNode;
class FunctionDeclNode;
class FunctionHeadNode;
class FunctionPtrDeclNode;
class FunctionReturnNode;
class IdNode;
class InitializerListNode;
class InitializerNode;
class InteriorNode;
class KeywordNode;
class LabelNode;
class LinkageBlockBodyNode;
class LinkageBlockNode;
class NamespaceBodyNode;
class NamespaceDeclNode;
class NamespaceHeadNode;
class ParameterListNode;
class ParameterNode;
class PreprocDirectiveNode;
class RootNode;
class TemplateNode;
class TextNode;
class TypeNode;

// One operation per node class; each does nothing here, and an emitter
// overrides the ones it needs. A node's accept calls the operation of its own
// class (a CtorDeclNode calls visitCtorDeclNode, not visitFunctionDeclNode)
// and does not descend into children.
class Emitter {
public:
    virtual ~Emitter();
    virtual void visitArgNode(ArgNode& node);
    virtual void visitArgListNode(ArgListNode& node);
    virtual void visitAsmNode(AsmNode& node);
    virtual void visitLabelNode(LabelNode& node);
    virtual void visitTextNode(TextNode& node);
    virtual void visitFunctionPtrDeclNode(FunctionPtrDeclNode& node);
    virtual void visitLinkageBlockBodyNode(LinkageBlockBodyNode& node);
    virtual void visitLinkageBlockNode(LinkageBlockNode& node);
    virtual void visitEnumBodyNode(EnumBodyNode& node);
    virtual void visitEnumHeadNode(EnumHeadNode& node);
    virtual void visitEnumDeclNode(EnumDeclNode& node);
    virtual void visitPreprocDirectiveNode(PreprocDirectiveNode& node);
    virtual void visitCommentNode(CommentNode& node);
    virtual void visitTemplateNode(TemplateNode& node);
    virtual void visitCaseNode(CaseNode& node);
    virtual void visitKeywordNode(KeywordNode& node);
    virtual void visitCtrlSubStmtHeadNode(CtrlSubStmtHeadNode& node);
    virtual void visitCtrlSubStmtNode(CtrlSubStmtNode& node);
    virtual void visitCtrlStmtNode(CtrlStmtNode& node);
    virtual void visitExprNode(ExprNode& node);
    virtual void visitTypeNode(TypeNode& node);
    virtual void visitInitializerNode(InitializerNode& node);
    virtual void visitInitializerListNode(InitializerListNode& node);
    virtual void visitDataDeclNode(DataDeclNode& node);
    virtual void visitParameterListNode(ParameterListNode& node);
    virtual void visitParameterNode(ParameterNode& node);
    virtual void visitIdNode(IdNode& node);
    virtual void visitFunctionReturnNode(FunctionReturnNode& node);
    virtual void visitBlockNode(BlockNode& node);
    virtual void visitFunctionHeadNode(FunctionHeadNode& node);
    virtual void visitFunctionDeclNode(FunctionDeclNode& node);
    virtual void visitCtorDeclNode(CtorDeclNode& node);
    virtual void visitNamespaceBodyNode(NamespaceBodyNode& node);
    virtual void visitNamespaceHeadNode(NamespaceHeadNode& node);
    virtual void visitNamespaceDeclNode(NamespaceDeclNode& node);
    virtual void visitAccessSpecNode(AccessSpecNode& node);
    virtual void visitClassNameNode(ClassNameNode& node);
    virtual void visitClassHeadNode(ClassHeadNode& node);
    virtual void visitClassDeclNode(ClassDeclNode& node);
    virtual void visitClassBodyNode(ClassBodyNode& node);
    virtual void visitBaseClauseListNode(BaseClauseListNode& node);
    virtual void visitBaseClauseNode(BaseClauseNode& node);
    virtual void visitRootNode(RootNode& node);
    virtual void visitInteriorNode(InteriorNode& node);
};

} // namespace Cpp

#endif

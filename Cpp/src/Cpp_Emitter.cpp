#include "Cpp_Emitter.h"

namespace Cpp {

Emitter::~Emitter() = default;

void Emitter::visitArgNode(ArgNode&) {}
void Emitter::visitArgListNode(ArgListNode&) {}
void Emitter::visitAsmNode(AsmNode&) {}
void Emitter::visitLabelNode(LabelNode&) {}
void Emitter::visitTextNode(TextNode&) {}
void Emitter::visitFunctionPtrDeclNode(FunctionPtrDeclNode&) {}
void Emitter::visitLinkageBlockBodyNode(LinkageBlockBodyNode&) {}
void Emitter::visitLinkageBlockNode(LinkageBlockNode&) {}
void Emitter::visitEnumBodyNode(EnumBodyNode&) {}
void Emitter::visitEnumHeadNode(EnumHeadNode&) {}
void Emitter::visitEnumDeclNode(EnumDeclNode&) {}
void Emitter::visitPreprocDirectiveNode(PreprocDirectiveNode&) {}
void Emitter::visitCommentNode(CommentNode&) {}
void Emitter::visitTemplateNode(TemplateNode&) {}
void Emitter::visitCaseNode(CaseNode&) {}
void Emitter::visitKeywordNode(KeywordNode&) {}
void Emitter::visitCtrlSubStmtHeadNode(CtrlSubStmtHeadNode&) {}
void Emitter::visitCtrlSubStmtNode(CtrlSubStmtNode&) {}
void Emitter::visitCtrlStmtNode(CtrlStmtNode&) {}
void Emitter::visitExprNode(ExprNode&) {}
void Emitter::visitTypeNode(TypeNode&) {}
void Emitter::visitInitializerNode(InitializerNode&) {}
void Emitter::visitInitializerListNode(InitializerListNode&) {}
void Emitter::visitDataDeclNode(DataDeclNode&) {}
void Emitter::visitParameterListNode(ParameterListNode&) {}
void Emitter::visitParameterNode(ParameterNode&) {}
void Emitter::visitIdNode(IdNode&) {}
void Emitter::visitFunctionReturnNode(FunctionReturnNode&) {}
void Emitter::visitBlockNode(BlockNode&) {}
void Emitter::visitFunctionHeadNode(FunctionHeadNode&) {}
void Emitter::visitFunctionDeclNode(FunctionDeclNode&) {}
void Emitter::visitCtorDeclNode(CtorDeclNode&) {}
void Emitter::visitNamespaceBodyNode(NamespaceBodyNode&) {}
void Emitter::visitNamespaceHeadNode(NamespaceHeadNode&) {}
void Emitter::visitNamespaceDeclNode(NamespaceDeclNode&) {}
void Emitter::visitAccessSpecNode(AccessSpecNode&) {}
void Emitter::visitClassNameNode(ClassNameNode&) {}
void Emitter::visitClassHeadNode(ClassHeadNode&) {}
void Emitter::visitClassDeclNode(ClassDeclNode&) {}
void Emitter::visitClassBodyNode(ClassBodyNode&) {}
void Emitter::visitBaseClauseListNode(BaseClauseListNode&) {}
void Emitter::visitBaseClauseNode(BaseClauseNode&) {}
void Emitter::visitRootNode(RootNode&) {}
void Emitter::visitInteriorNode(InteriorNode&) {}

} // namespace Cpp

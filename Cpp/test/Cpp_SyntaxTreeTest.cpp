// Node classes: location rules, ownership, interior-node operations, clone
// and the emitter dispatch.
#include "Cpp_SyntaxTree.h"

#include "Corvale_Exception.h"
#include "Cpp.h"
#include "Trn_Exception.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace Cpp;
using Trn::Location;

namespace {

std::unique_ptr<ExprNode> expr(int line, int c1, int c2)
{
    return std::make_unique<ExprNode>(Location(line, c1), Location(line, c2));
}

TEST(InteriorNodeLocation, EmptyRootReportsNoLocation)
{
    RootNode root;
    EXPECT_EQ(Location(), root.start());
    EXPECT_EQ(Location(), root.end());
    root.setStart(Location(3, 3)); // nothing to set
    EXPECT_EQ(Location(), root.start());
    EXPECT_TRUE(root.empty());
}

TEST(InteriorNodeLocation, PlainNodeSpansItsChildrenAndSetsThem)
{
    RootNode root;
    ExprNode* pFirst = expr(1, 1, 4).release();
    ExprNode* pLast = expr(3, 2, 9).release();
    root.add(pFirst);
    root.add(expr(2, 1, 1));
    root.add(pLast);
    EXPECT_EQ(Location(1, 1), root.start());
    EXPECT_EQ(Location(3, 9), root.end());
    root.setStart(Location(1, 2));
    root.setEnd(Location(4, 1));
    EXPECT_EQ(Location(1, 2), pFirst->start());
    EXPECT_EQ(Location(4, 1), pLast->end());
    EXPECT_EQ(Location(1, 4), pFirst->end());
}

TEST(InteriorNodeLocation, BracketedNodesReportTheirBrackets)
{
    ClassBodyNode body(Location(2, 1), Location(5, 1));
    body.add(expr(3, 5, 9));
    EXPECT_EQ(Location(2, 1), body.start());
    EXPECT_EQ(Location(5, 1), body.end());

    // Only blocks and linkage bodies fall back to their children.
    ClassBodyNode bare;
    bare.add(expr(3, 5, 9));
    EXPECT_EQ(Location(), bare.start());
    EXPECT_EQ(Location(), bare.end());
}

TEST(InteriorNodeLocation, BlockWithoutBracesSpansItsStatement)
{
    BlockNode block;
    EXPECT_EQ(Location(), block.start());
    block.add(expr(4, 5, 12));
    EXPECT_FALSE(block.isBraced());
    EXPECT_EQ(Location(4, 5), block.start());
    EXPECT_EQ(Location(4, 12), block.end());
    block.setStart(Location(4, 3));
    EXPECT_EQ(Location(4, 3), block.start());
    EXPECT_EQ(Location(4, 12), block.end()); // each end falls back on its own

    LinkageBlockBodyNode linkage;
    linkage.add(expr(1, 2, 3));
    EXPECT_EQ(Location(1, 2), linkage.start());
    EXPECT_EQ(Location(1, 3), linkage.end());

    BlockNode braced(Location(1, 1), Location(1, 20));
    braced.add(expr(1, 3, 5));
    EXPECT_TRUE(braced.isBraced());
    EXPECT_EQ(Location(1, 1), braced.start());
    EXPECT_EQ(Location(1, 20), braced.end());
}

TEST(CompositeNodeLocation, FallsBackToPresentFieldsInFieldOrder)
{
    // A constructor's head has no return part: it starts at the name.
    FunctionHeadNode head(nullptr, std::make_unique<IdNode>(Location(2, 4), Location(2, 7), "C::C"),
                          std::make_unique<ParameterListNode>(Location(2, 8), Location(2, 9)));
    EXPECT_EQ(Location(2, 4), head.start());
    EXPECT_EQ(Location(2, 9), head.end());
    head.setTrailing(std::make_unique<TextNode>(Location(2, 11), Location(2, 15)));
    EXPECT_EQ(Location(2, 15), head.end());
    head.setEnd(Location(2, 16));
    EXPECT_EQ(Location(2, 16), head.end());

    // Own locations win over the fields.
    DataDeclNode decl(std::make_unique<TypeNode>(Location(1, 1), Location(1, 3)),
                      std::make_unique<IdNode>(Location(1, 5), Location(1, 5), "x"));
    decl.setStart(Location(1, 1));
    EXPECT_EQ(Location(1, 5), decl.end());
    decl.setEnd(Location(1, 6));
    EXPECT_EQ(Location(1, 6), decl.end());

    // No fields at all: no location.
    LabelNode label;
    EXPECT_EQ(Location(), label.start());
    EXPECT_EQ(Location(), label.end());
}

TEST(CompositeNodeLocation, EmptyListFieldsArePassedOver)
{
    ClassHeadNode head(std::make_unique<ClassNameNode>(Location(1, 1), Location(1, 7), ClassNameNode::CLASS, "C"),
                       std::make_unique<BaseClauseListNode>());
    EXPECT_EQ(Location(1, 7), head.end());
    head.baseClauses()->add(std::make_unique<BaseClauseNode>(Location(1, 11), Location(1, 18), 1, true, ""));
    EXPECT_EQ(Location(1, 18), head.end());
}

TEST(InteriorNodeChildren, AddIgnoresNullAndRefusesDuplicates)
{
    RootNode root;
    root.add(static_cast<SyntaxNode*>(nullptr));
    EXPECT_EQ(0u, root.size());

    ExprNode* pNode = expr(1, 1, 2).release();
    root.add(pNode);
    try {
        root.add(pNode);
        FAIL() << "adding a node twice must throw";
    }
    catch (const Trn::AlreadyExistsException& e) {
        EXPECT_EQ("Attempt to add an object to a collection that already exists in that collection.", e.message());
    }
    EXPECT_EQ(1u, root.size());
    EXPECT_EQ(pNode, root.child(0));
}

TEST(InteriorNodeChildren, InsertPlacesBeforePositionAndChecksItsArguments)
{
    RootNode root;
    ExprNode* pA = expr(1, 1, 1).release();
    ExprNode* pC = expr(3, 1, 1).release();
    root.add(pA);
    root.add(pC);
    ExprNode* pB = expr(2, 1, 1).release();
    auto it = root.insert(root.childrenBegin() + 1, pB);
    EXPECT_EQ(pB, *it);
    EXPECT_EQ((std::vector<SyntaxNode*>{pA, pB, pC}), root.children());

    EXPECT_THROW(root.insert(root.childrenBegin(), pC), Trn::AlreadyExistsException);
    EXPECT_EQ(3u, root.size());

    try {
        root.insert(root.childrenBegin(), nullptr);
        FAIL();
    }
    catch (const Corvale::ContractViolation& v) {
        EXPECT_EQ("DBC Violation: Cpp/src/Cpp_InteriorNode.cpp(191): pNode != 0", v.description());
    }
    auto pD = expr(4, 1, 1);
    try {
        root.insert(root.childrenEnd(), pD.get());
        FAIL();
    }
    catch (const Corvale::ContractViolation& v) {
        EXPECT_EQ("DBC Violation: Cpp/src/Cpp_InteriorNode.cpp(192): it != m_Nodes.end()", v.description());
    }
}

TEST(InteriorNodeChildren, EraseHandsChildrenOverToTheCaller)
{
    RootNode root;
    ExprNode* pA = expr(1, 1, 1).release();
    ExprNode* pB = expr(2, 1, 1).release();
    root.add(pA);
    root.add(pB);
    root.erase(root.childrenBegin(), root.childrenBegin() + 1);
    ASSERT_EQ(1u, root.size());
    std::unique_ptr<ExprNode> owned(pA); // still alive: erase did not destroy it
    EXPECT_EQ(Location(1, 1), owned->start());
    // An erased node may be added again, here or elsewhere.
    root.add(owned.release());
    EXPECT_EQ(pA, root.child(1));
    BlockNode other;
    root.erase(root.childrenBegin() + 1, root.childrenEnd());
    other.add(pA);
    EXPECT_EQ(1u, other.size());
}

TEST(KeywordNode, HoldsOnlyKeywordsFromClassToDefault)
{
    for (std::int32_t type : std::vector<std::int32_t>{CLASS_KEY, IF_KEY, CASE_KEY, DEFAULT_KEY, OPERATOR_KEY})
        EXPECT_EQ(type, KeywordNode(Location(1, 1), Location(1, 2), type).type());
    for (std::int32_t type : std::vector<std::int32_t>{RETURN_KEY, BREAK_KEY, INT_KEY, VOID_KEY, IDENTIFIER, SEMICOLON, Trn::END_OF_FILE}) {
        try {
            KeywordNode(Location(1, 1), Location(1, 2), type);
            FAIL() << type;
        }
        catch (const InvalidKeyword& e) {
            EXPECT_EQ("Not a keyword", e.message());
        }
    }
}

std::unique_ptr<CtorDeclNode> makeCtor()
{
    auto pArgs = std::make_unique<ArgListNode>(Location(1, 12), Location(1, 14));
    pArgs->add(std::make_unique<ArgNode>(Location(1, 13), Location(1, 13)));
    auto pInits = std::make_unique<InitializerListNode>();
    pInits->add(std::make_unique<InitializerNode>(std::make_unique<IdNode>(Location(1, 11), Location(1, 11), "a"),
                                                  std::move(pArgs)));
    auto pBody = std::make_unique<BlockNode>(Location(1, 16), Location(1, 18));
    pBody->add(expr(1, 17, 17));
    auto pHead = std::make_unique<FunctionHeadNode>(
        nullptr, std::make_unique<IdNode>(Location(1, 1), Location(1, 4), "C::C"),
        std::make_unique<ParameterListNode>(Location(1, 5), Location(1, 6)));
    return std::make_unique<CtorDeclNode>(std::move(pHead), std::move(pInits), std::move(pBody));
}

TEST(Clone, CtorDeclIsCopiedDeeplyAndIndependently)
{
    auto pOriginal = makeCtor();
    std::string before = "";
    {
        std::unique_ptr<CtorDeclNode> pCopy = cloneAs(*pOriginal);
        ASSERT_NE(nullptr, pCopy->head());
        ASSERT_NE(nullptr, pCopy->initializers());
        ASSERT_NE(nullptr, pCopy->body());
        EXPECT_NE(pOriginal->head(), pCopy->head());
        EXPECT_NE(pOriginal->body()->child(0), pCopy->body()->child(0));
        EXPECT_EQ("C::C", pCopy->head()->id()->name());
        EXPECT_EQ(Location(1, 1), pCopy->start());
        EXPECT_EQ(Location(1, 18), pCopy->end());
        auto pInit = static_cast<InitializerNode*>(pCopy->initializers()->child(0));
        EXPECT_EQ(1u, pInit->args()->size());
        // Changing the copy leaves the original alone.
        pCopy->body()->child(0)->setStart(Location(9, 9));
        pCopy->setHead(nullptr);
        // The copied children may be added to the copy's lists again only
        // after being erased: they belong to the copy's lists now.
        EXPECT_THROW(pCopy->body()->add(pCopy->body()->child(0)), Trn::AlreadyExistsException);
    }
    EXPECT_EQ(Location(1, 17), pOriginal->body()->child(0)->start());
    EXPECT_EQ("C::C", pOriginal->head()->id()->name());
    EXPECT_EQ(Location(1, 1), pOriginal->start());
}

TEST(Clone, InteriorCopyChildrenAreNotOwnedByTheOriginal)
{
    RootNode root;
    root.add(expr(1, 1, 1));
    std::unique_ptr<RootNode> pCopy = cloneAs(root);
    // The copy's child may be moved into the original: it is a different node.
    SyntaxNode* pChild = pCopy->child(0);
    EXPECT_NE(root.child(0), pChild);
    pCopy->erase(pCopy->childrenBegin(), pCopy->childrenEnd());
    EXPECT_TRUE(pCopy->empty());
    root.add(pChild);
    EXPECT_EQ(2u, root.size());
}

// Records which operation accept called.
class Recorder : public Emitter {
public:
    std::string called;
#define RECORD(C)                                                                                                  \
    void visit##C(C&) override { called = #C; }
    RECORD(ArgNode) RECORD(ArgListNode) RECORD(AsmNode) RECORD(LabelNode) RECORD(TextNode)
    RECORD(FunctionPtrDeclNode) RECORD(LinkageBlockBodyNode) RECORD(LinkageBlockNode) RECORD(EnumBodyNode)
    RECORD(EnumHeadNode) RECORD(EnumDeclNode) RECORD(PreprocDirectiveNode) RECORD(CommentNode) RECORD(TemplateNode)
    RECORD(CaseNode) RECORD(KeywordNode) RECORD(CtrlSubStmtHeadNode) RECORD(CtrlSubStmtNode) RECORD(CtrlStmtNode)
    RECORD(ExprNode) RECORD(TypeNode) RECORD(InitializerNode) RECORD(InitializerListNode) RECORD(DataDeclNode)
    RECORD(ParameterListNode) RECORD(ParameterNode) RECORD(IdNode) RECORD(FunctionReturnNode) RECORD(BlockNode)
    RECORD(FunctionHeadNode) RECORD(FunctionDeclNode) RECORD(CtorDeclNode) RECORD(NamespaceBodyNode)
    RECORD(NamespaceHeadNode) RECORD(NamespaceDeclNode) RECORD(AccessSpecNode) RECORD(ClassNameNode)
    RECORD(ClassHeadNode) RECORD(ClassDeclNode) RECORD(ClassBodyNode) RECORD(BaseClauseListNode)
    RECORD(BaseClauseNode) RECORD(RootNode) RECORD(InteriorNode)
#undef RECORD
};

TEST(Emitter, AcceptCallsTheOperationOfTheNodesOwnClassAndCloneKeepsIt)
{
    const Location a(1, 1), b(1, 2);
    std::vector<std::pair<std::string, std::unique_ptr<SyntaxNode>>> nodes;
    auto add = [&](const char* name, SyntaxNode* pNode) { nodes.emplace_back(name, std::unique_ptr<SyntaxNode>(pNode)); };
    add("ArgNode", new ArgNode(a, b));
    add("ArgListNode", new ArgListNode(a, b));
    add("AsmNode", new AsmNode());
    add("LabelNode", new LabelNode());
    add("TextNode", new TextNode(a, b));
    add("FunctionPtrDeclNode", new FunctionPtrDeclNode());
    add("LinkageBlockBodyNode", new LinkageBlockBodyNode(a, b));
    add("LinkageBlockNode", new LinkageBlockNode());
    add("EnumBodyNode", new EnumBodyNode(a, b));
    add("EnumHeadNode", new EnumHeadNode(a, b, "E"));
    add("EnumDeclNode", new EnumDeclNode());
    add("PreprocDirectiveNode", new PreprocDirectiveNode(a, b));
    add("CommentNode", new CommentNode(a, b, true, false));
    add("TemplateNode", new TemplateNode());
    add("CaseNode", new CaseNode());
    add("KeywordNode", new KeywordNode(a, b, IF_KEY));
    add("CtrlSubStmtHeadNode", new CtrlSubStmtHeadNode());
    add("CtrlSubStmtNode", new CtrlSubStmtNode());
    add("CtrlStmtNode", new CtrlStmtNode());
    add("ExprNode", new ExprNode(a, b));
    add("TypeNode", new TypeNode(a, b));
    add("InitializerNode", new InitializerNode());
    add("InitializerListNode", new InitializerListNode());
    add("DataDeclNode", new DataDeclNode());
    add("ParameterListNode", new ParameterListNode(a, b));
    add("ParameterNode", new ParameterNode(a, b, true));
    add("IdNode", new IdNode(a, b, "x"));
    add("FunctionReturnNode", new FunctionReturnNode(a, b));
    add("BlockNode", new BlockNode(a, b));
    add("FunctionHeadNode", new FunctionHeadNode());
    add("FunctionDeclNode", new FunctionDeclNode());
    add("CtorDeclNode", new CtorDeclNode());
    add("NamespaceBodyNode", new NamespaceBodyNode(a, b));
    add("NamespaceHeadNode", new NamespaceHeadNode(a, b, "N"));
    add("NamespaceDeclNode", new NamespaceDeclNode());
    add("AccessSpecNode", new AccessSpecNode(a, b, AccessSpecNode::PUBLIC));
    add("ClassNameNode", new ClassNameNode(a, b, ClassNameNode::STRUCT, "S"));
    add("ClassHeadNode", new ClassHeadNode());
    add("ClassDeclNode", new ClassDeclNode());
    add("ClassBodyNode", new ClassBodyNode(a, b));
    add("BaseClauseListNode", new BaseClauseListNode());
    add("BaseClauseNode", new BaseClauseNode(a, b, 1, true, ""));
    add("RootNode", new RootNode());
    add("InteriorNode", new InteriorNode());
    ASSERT_EQ(44u, nodes.size());

    Emitter silent; // every default operation does nothing
    for (auto& [name, pNode] : nodes) {
        Recorder recorder;
        pNode->accept(recorder);
        EXPECT_EQ(name, recorder.called);
        pNode->accept(silent);
        std::unique_ptr<SyntaxNode> pCopy = pNode->clone();
        recorder.called.clear();
        pCopy->accept(recorder);
        EXPECT_EQ(name, recorder.called) << "clone of " << name;
        EXPECT_EQ(pNode->start(), pCopy->start());
        EXPECT_EQ(pNode->end(), pCopy->end());
    }
}

TEST(LeafNode, FieldsSurviveCloning)
{
    CommentNode comment(Location(1, 1), Location(2, 0), true, false);
    auto pComment = cloneAs(comment);
    EXPECT_TRUE(pComment->isSingleLine());
    EXPECT_FALSE(pComment->isVerbatim());
    ClassNameNode name(Location(1, 1), Location(1, 8), ClassNameNode::UNION, "U");
    auto pName = cloneAs(name);
    EXPECT_EQ(ClassNameNode::UNION, pName->classKey());
    EXPECT_EQ("U", pName->name());
    AsmNode asmNode(std::make_unique<TextNode>(Location(1, 1), Location(1, 9)), nullptr, 7);
    EXPECT_EQ(7, cloneAs(asmNode)->value());
}

} // namespace

#include "Cpp_TreeDump.h"

#include "Cpp_SyntaxTree.h"

#include <sstream>
#include <vector>

namespace Cpp {

std::string textBetween(const std::string& source, const Trn::Location& start, const Trn::Location& end)
{
    std::vector<std::size_t> lineStarts{0, 0};
    for (std::size_t i = 0; i < source.size(); ++i)
        if (source[i] == '\n')
            lineStarts.push_back(i + 1);
    auto offset = [&](const Trn::Location& l) -> long {
        if (l.line() < 1 || static_cast<std::size_t>(l.line()) >= lineStarts.size())
            return -1;
        return static_cast<long>(lineStarts[l.line()]) + l.col() - 1;
    };
    long first = offset(start) < 0 ? 0 : offset(start);
    long last = offset(end);
    if (last < first || last >= static_cast<long>(source.size()))
        last = std::min<long>(last, static_cast<long>(source.size()) - 1);
    if (last < first)
        return std::string();
    return source.substr(first, last - first + 1);
}

namespace {

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '"')
            out += "\\\"";
        else
            out += c;
    }
    return out + "\"";
}

std::string location(const Trn::Location& l)
{
    return std::to_string(l.line()) + ":" + std::to_string(l.col());
}

// Names a node and its fields; the walk below does the rest.
class Describer : public Emitter {
public:
    std::string text;
    bool leaf = false;

    void visitArgNode(ArgNode&) override { set("ArgNode", true); }
    void visitArgListNode(ArgListNode&) override { set("ArgListNode"); }
    void visitAsmNode(AsmNode& n) override { set("AsmNode value=" + std::to_string(n.value())); }
    void visitLabelNode(LabelNode&) override { set("LabelNode"); }
    void visitTextNode(TextNode&) override { set("TextNode", true); }
    void visitFunctionPtrDeclNode(FunctionPtrDeclNode&) override { set("FunctionPtrDeclNode"); }
    void visitLinkageBlockBodyNode(LinkageBlockBodyNode&) override { set("LinkageBlockBodyNode"); }
    void visitLinkageBlockNode(LinkageBlockNode&) override { set("LinkageBlockNode"); }
    void visitEnumBodyNode(EnumBodyNode&) override { set("EnumBodyNode"); }
    void visitEnumHeadNode(EnumHeadNode& n) override { set("EnumHeadNode name=" + n.name(), true); }
    void visitEnumDeclNode(EnumDeclNode&) override { set("EnumDeclNode"); }
    void visitPreprocDirectiveNode(PreprocDirectiveNode&) override { set("PreprocDirectiveNode", true); }
    void visitCommentNode(CommentNode& n) override
    {
        set(std::string("CommentNode") + (n.isSingleLine() ? " single" : "") + (n.isVerbatim() ? " verbatim" : ""),
            true);
    }
    void visitTemplateNode(TemplateNode&) override { set("TemplateNode"); }
    void visitCaseNode(CaseNode&) override { set("CaseNode"); }
    void visitKeywordNode(KeywordNode& n) override { set("KeywordNode type=" + std::to_string(n.type()), true); }
    void visitCtrlSubStmtHeadNode(CtrlSubStmtHeadNode&) override { set("CtrlSubStmtHeadNode"); }
    void visitCtrlSubStmtNode(CtrlSubStmtNode&) override { set("CtrlSubStmtNode"); }
    void visitCtrlStmtNode(CtrlStmtNode&) override { set("CtrlStmtNode"); }
    void visitExprNode(ExprNode&) override { set("ExprNode", true); }
    void visitTypeNode(TypeNode&) override { set("TypeNode", true); }
    void visitInitializerNode(InitializerNode&) override { set("InitializerNode"); }
    void visitInitializerListNode(InitializerListNode&) override { set("InitializerListNode"); }
    void visitDataDeclNode(DataDeclNode&) override { set("DataDeclNode"); }
    void visitParameterListNode(ParameterListNode&) override { set("ParameterListNode"); }
    void visitParameterNode(ParameterNode& n) override
    {
        set(std::string("ParameterNode") + (n.flag() ? " flag" : ""), true);
    }
    void visitIdNode(IdNode& n) override { set("IdNode name=" + n.name(), true); }
    void visitFunctionReturnNode(FunctionReturnNode&) override { set("FunctionReturnNode", true); }
    void visitBlockNode(BlockNode&) override { set("BlockNode"); }
    void visitFunctionHeadNode(FunctionHeadNode&) override { set("FunctionHeadNode"); }
    void visitFunctionDeclNode(FunctionDeclNode&) override { set("FunctionDeclNode"); }
    void visitCtorDeclNode(CtorDeclNode&) override { set("CtorDeclNode"); }
    void visitNamespaceBodyNode(NamespaceBodyNode&) override { set("NamespaceBodyNode"); }
    void visitNamespaceHeadNode(NamespaceHeadNode& n) override { set("NamespaceHeadNode name=" + n.name(), true); }
    void visitNamespaceDeclNode(NamespaceDeclNode&) override { set("NamespaceDeclNode"); }
    void visitAccessSpecNode(AccessSpecNode& n) override
    {
        set("AccessSpecNode access=" + std::to_string(n.access()), true);
    }
    void visitClassNameNode(ClassNameNode& n) override
    {
        set("ClassNameNode key=" + std::to_string(n.classKey()) + " name=" + n.name(), true);
    }
    void visitClassHeadNode(ClassHeadNode&) override { set("ClassHeadNode"); }
    void visitClassDeclNode(ClassDeclNode&) override { set("ClassDeclNode"); }
    void visitClassBodyNode(ClassBodyNode&) override { set("ClassBodyNode"); }
    void visitBaseClauseListNode(BaseClauseListNode&) override { set("BaseClauseListNode"); }
    void visitBaseClauseNode(BaseClauseNode& n) override
    {
        set("BaseClauseNode access=" + std::to_string(n.access()) + (n.isVirtual() ? " virtual" : ""), true);
    }
    void visitRootNode(RootNode&) override { set("RootNode"); }
    void visitInteriorNode(InteriorNode&) override { set("InteriorNode"); }

private:
    void set(const std::string& t, bool isLeaf = false)
    {
        text = t;
        leaf = isLeaf;
    }
};

void dump(const SyntaxNode& node, const std::string& source, int depth, std::ostringstream& out)
{
    Describer describer;
    const_cast<SyntaxNode&>(node).accept(describer);
    out << std::string(2 * depth, ' ') << describer.text << ' ' << location(node.start()) << '-'
        << location(node.end());
    if (describer.leaf && !source.empty())
        out << ' ' << quoted(textBetween(source, node.start(), node.end()));
    out << '\n';
    if (auto pInterior = dynamic_cast<const InteriorNode*>(&node)) {
        for (const SyntaxNode* pChild : pInterior->children())
            dump(*pChild, source, depth + 1, out);
    }
    else if (auto pComposite = dynamic_cast<const CompositeNode*>(&node)) {
        for (std::size_t i = 0; i < pComposite->fieldCount(); ++i)
            if (const SyntaxNode* pField = pComposite->field(i))
                dump(*pField, source, depth + 1, out);
    }
}

} // namespace

std::string dumpTree(const SyntaxNode& node, const std::string& source)
{
    std::ostringstream out;
    dump(node, source, 0, out);
    return out.str();
}

} // namespace Cpp

// Leaf nodes of the C++ syntax tree: they carry locations and a few names and
// flags, never the source text; whoever prints a leaf copies the characters
// between its start and end from the source.
#ifndef CPP_LEAFNODE_H
#define CPP_LEAFNODE_H

#include "Cpp_SyntaxNode.h"

#include <cstdint>
#include <string>

namespace Cpp {

class LeafNode : public SyntaxNode {
public:
    void setStart(const Trn::Location& location) override { m_Start = location; }
    Trn::Location start() const override { return m_Start; }
    void setEnd(const Trn::Location& location) override { m_End = location; }
    Trn::Location end() const override { return m_End; }

protected:
    LeafNode(const Trn::Location& start, const Trn::Location& end) : m_Start(start), m_End(end) {}
    LeafNode(const LeafNode&) = default;

private:
    Trn::Location m_Start;
    Trn::Location m_End;
};

// The public part of a leaf class that holds its locations and nothing else.
#define CPP_PLAIN_LEAF(Class, Base)                                                                                 \
public:                                                                                                             \
    Class(const Trn::Location& start, const Trn::Location& end) : Base(start, end) {}                               \
    CPP_NODE_OPERATIONS

// A leaf class that holds its locations and a name.
#define CPP_NAMED_LEAF(Class, Base)                                                                                 \
public:                                                                                                             \
    Class(const Trn::Location& start, const Trn::Location& end, std::string name)                                   \
        : Base(start, end), m_Name(std::move(name))                                                                 \
    {                                                                                                               \
    }                                                                                                               \
    const std::string& name() const { return m_Name; }                                                              \
    CPP_NODE_OPERATIONS                                                                                             \
                                                                                                                    \
private:                                                                                                            \
    std::string m_Name;

// Text kept as it stands: the trailing text of a function head, the text of
// an assembler statement, and any other verbatim run.
class TextNode : public LeafNode {
    CPP_PLAIN_LEAF(TextNode, LeafNode)
};

// A comment, or a region kept verbatim (verbatim flag).
class CommentNode final : public TextNode {
public:
    CommentNode(const Trn::Location& start, const Trn::Location& end, bool singleLine, bool verbatim)
        : TextNode(start, end), m_SingleLine(singleLine), m_Verbatim(verbatim)
    {
    }
    bool isSingleLine() const { return m_SingleLine; }
    bool isVerbatim() const { return m_Verbatim; }
    CPP_NODE_OPERATIONS

private:
    bool m_SingleLine;
    bool m_Verbatim;
};

// A preprocessor line or a folded if-zero region.
class PreprocDirectiveNode final : public TextNode {
    CPP_PLAIN_LEAF(PreprocDirectiveNode, TextNode)
};

// A name: a declared variable or function, a member in an initializer, a label.
class IdNode : public TextNode {
    CPP_NAMED_LEAF(IdNode, TextNode)
};

// One keyword. Only the keywords from "class" to "default" may be held; the
// built-in type names and the keywords after "default" throw InvalidKeyword.
class KeywordNode : public LeafNode {
public:
    KeywordNode(const Trn::Location& start, const Trn::Location& end, std::int32_t type);
    std::int32_t type() const { return m_Type; }
    CPP_NODE_OPERATIONS

private:
    std::int32_t m_Type;
};

// An access label such as "public:", "signals:" or "public slots:".
class AccessSpecNode : public LeafNode {
public:
    enum : std::int32_t { PUBLIC = 1, PROTECTED = 2, PRIVATE = 3, ACCESS_LIKE = 4 };
    AccessSpecNode(const Trn::Location& start, const Trn::Location& end, std::int32_t access)
        : LeafNode(start, end), m_Access(access)
    {
    }
    std::int32_t access() const { return m_Access; }
    CPP_NODE_OPERATIONS

private:
    std::int32_t m_Access;
};

// The class key and the name of a class head.
class ClassNameNode : public LeafNode {
public:
    enum : std::int32_t { CLASS = 0, STRUCT = 1, UNION = 2 };
    ClassNameNode(const Trn::Location& start, const Trn::Location& end, std::int32_t classKey, std::string name)
        : LeafNode(start, end), m_ClassKey(classKey), m_Name(std::move(name))
    {
    }
    std::int32_t classKey() const { return m_ClassKey; }
    const std::string& name() const { return m_Name; }
    CPP_NODE_OPERATIONS

private:
    std::int32_t m_ClassKey;
    std::string m_Name;
};

// One base class of a base clause. The clause's text is taken from its
// locations; the parser stores access 1, the virtual flag set and no name.
class BaseClauseNode : public LeafNode {
public:
    BaseClauseNode(const Trn::Location& start, const Trn::Location& end, std::int32_t access, bool isVirtual,
                   std::string name)
        : LeafNode(start, end), m_Access(access), m_Virtual(isVirtual), m_Name(std::move(name))
    {
    }
    std::int32_t access() const { return m_Access; }
    bool isVirtual() const { return m_Virtual; }
    const std::string& name() const { return m_Name; }
    CPP_NODE_OPERATIONS

private:
    std::int32_t m_Access;
    bool m_Virtual;
    std::string m_Name;
};

// The enum keyword and the enumeration's name (empty when unnamed).
class EnumHeadNode : public LeafNode {
    CPP_NAMED_LEAF(EnumHeadNode, LeafNode)
};

// The namespace keyword and the namespace's name (empty when unnamed).
class NamespaceHeadNode : public LeafNode {
    CPP_NAMED_LEAF(NamespaceHeadNode, LeafNode)
};

// The type part of a declaration.
class TypeNode : public LeafNode {
    CPP_PLAIN_LEAF(TypeNode, LeafNode)
};

// The return type and specifiers before a function's name.
class FunctionReturnNode : public TypeNode {
    CPP_PLAIN_LEAF(FunctionReturnNode, TypeNode)
};

// An expression, a statement's text, a condition, or any other run of tokens
// kept whole.
class ExprNode : public LeafNode {
    CPP_PLAIN_LEAF(ExprNode, LeafNode)
};

// One argument of an argument list.
class ArgNode : public LeafNode {
    CPP_PLAIN_LEAF(ArgNode, LeafNode)
};

// One parameter of a function or template parameter list. The parser sets
// the flag when the parameter has a default value ("= ..." at its top level).
class ParameterNode : public LeafNode {
public:
    ParameterNode(const Trn::Location& start, const Trn::Location& end, bool flag = false)
        : LeafNode(start, end), m_Flag(flag)
    {
    }
    bool flag() const { return m_Flag; }
    bool hasDefault() const { return m_Flag; }
    CPP_NODE_OPERATIONS

private:
    bool m_Flag;
};

#undef CPP_NAMED_LEAF
#undef CPP_PLAIN_LEAF

} // namespace Cpp

#endif

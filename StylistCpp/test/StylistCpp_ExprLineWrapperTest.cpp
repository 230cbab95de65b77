#include "StylistCpp_ExprLineWrapper.h"
#include "StylistCpp_StdWrapStrategy.h"
#include "StylistCpp_ExprFormatterTestSupport.h"
#include <gtest/gtest.h>
#include <iostream>
using namespace StylistCpp;
namespace { void show(const char* name, int margin, Stylist::WrapSettings s, const ExprWrapStrategy& st, const std::string& text, int col = 0, std::string indent="") {
    ExprLineWrapper w(StylistCppTest::exprScheme({{Stylist::Key::RIGHT_MARGIN, "i:" + std::to_string(margin)}}));
    std::string r = w.wrap(text, w.position(col, indent), s, st);
    std::cout << "== " << name << " (" << w.lastLayoutCount() << ")\n" << std::string(col, '.') << r << "\n";
}}
TEST(ExprLineWrapperSmoke, Basic) {
    Stylist::WrapSettings s; StdWrapStrategy st; ClassInitWrapStrategy ci; FnDeclWrapStrategy fd; StdWrapStrategy list(false, true);
    show("comma1", 30, s, st, "foo(alpha, beta, gamma, delta, epsilon)");
    s.m_CommaWrapStyle = 2; show("comma2", 30, s, st, "foo(alpha, beta, gamma, delta, epsilon)");
    s.m_WrapStyle = 2; s.m_WrapIndent = "    "; show("wrap2 indent1", 30, s, st, "foo(alpha, beta, gamma, delta, epsilon)", 4, "    ");
    s.m_IndentWrapStyle = 2; show("wrap2 indent2", 30, s, st, "x = foo(alpha, beta, gamma, delta, epsilon)", 4, "    ");
    s = Stylist::WrapSettings(); show("op1", 30, s, st, "(alpha + beta + gamma + delta + epsilon)");
    s.m_OperatorWrapStyle = 2; show("op2", 30, s, st, "(alpha + beta + gamma + delta + epsilon)");
    s = Stylist::WrapSettings(); show("shift1", 30, s, st, "std::cout << alpha << beta << gamma << delta;", 4, "    ");
    s.m_ShiftWrapStyle = 2; show("shift2", 30, s, st, "std::cout << alpha << beta << gamma << delta;", 4, "    ");
    s = Stylist::WrapSettings(); show("caret", 20, s, st, "alphabetagamma ^ deltaepsilonzeta");
    show("ci", 30, s, ci, ": alpha(1), beta(2), gamma(3), delta(4)", 12);
    show("fd", 30, s, fd, "std::string functionName(int alpha, int beta, int gamma)");
    show("list", 30, s, list, "public Alpha, public Beta, protected Gamma", 15);
    s.m_ListWrapStrategy = 2; show("strat2", 30, s, st, "{ ONE = 1, TWO = 2, THREE = 3, FOUR = 4 }", 10);
    s = Stylist::WrapSettings(); show("nested", 40, s, st, "if (someCondition(alpha, beta) && otherCondition(gamma, delta))", 4, "    ");
    show("deep", 30, s, st, "someVeryLongFunctionName(argumentNumberOne, argumentNumberTwo)");
    show("strings", 30, s, st, "printf(\"aaaaaaaaaaaaa\" \"bbbbbbbbbbbbbbbb\" \"ccccccccccc\", x)");
    show("exact", 10, s, st, "aaaa + bbbb");
    show("none", 10, s, st, "aaaaaaaaaaaaaaaaaaaaa");
    show("unary", 10, s, st, "x = -aaaa * *bbbbbb");
}

// Template argument lists the lexer leaves unfolded, under every shipped
// scheme: a ">>" closing two lists, a comparison inside an argument list,
// and a comparison ("<=") inside a folded name; and requires-clauses,
// return types with parenthesised template arguments and base clauses per
// directive branch. The pipeline formats each
// without a diagnostic, keeps every token, gives the expected text under
// Default, and a second run leaves the result as it is.
#include "StylistCpp.h"
#include "support/StylistCpp_ShippedSchemes.h"
#include "support/StylistCpp_TokenCompare.h"

#include "Corvale_Exception.h"
#include "Stylist_PropertySetStore.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

namespace {

struct Case {
    const char* name;
    const char* in;
    const char* defaultOut; // the result under Default
};

const Case CASES[] = {
    // ">>" closes the head's list and one opened in its last parameter.
    {"HeadClosedByShift", "template<typename Y,\n\ttypename = C<const P<Y>&>>\nvoid f();\n",
     "template <typename Y, typename = C<const P<Y>&>>\nvoid f();\n"},
    {"HeadClosedByShiftWithCommas", "template<typename F, typename R = I<F&,A...>>\nstruct S;\n",
     "template <typename F, typename R = I<F&,A...>>\nstruct S;\n"},
    // ">>" closes two lists inside one parameter, and a declarator follows.
    {"ShiftInsideParameter", "template<typename T, enable_if_t<is_v<const T&,U>>* = nullptr>\nvoid g();\n",
     "template <typename T, enable_if_t<is_v<const T&, U>>* = nullptr>\nvoid g();\n"},
    {"ShiftInBaseClause", "struct R : is_x<T,void_t<T&>> { };\n", "struct R : is_x<T, void_t<T&>> {};\n"},
    {"ShiftInDataMembers", "class K {\n  A<B<const C&>>* p;\n  X<Y<Z&,W>> n = {};\n};\n",
     "class K {\n    A<B<const C&>>* p;\n    X<Y<Z&, W>> n = {};\n};\n"},
    {"ShiftInParenthesesStaysAShift", "template<int N = (8>>1)>\nstruct B;\n",
     "template <int N = (8 >> 1)>\nstruct B;\n"},
    // Comparisons inside argument lists.
    {"ComparisonInDefault", "template<int W, bool = W < L<T>::digits>\nstruct Shift;\n",
     "template <int W, bool = W < L<T>::digits>\nstruct Shift;\n"},
    {"ComparisonInBaseClause", "struct Less : integral_constant<bool, A::num < B::num> { };\n",
     "struct Less : integral_constant<bool, A::num < B::num> {};\n"},
    {"CallComparisonInBaseClause", "struct Signed : integral_constant<bool, T(-1) < T(0)> { };\n",
     "struct Signed : integral_constant<bool, T(-1) < T(0)> {};\n"},
    {"ComparisonInParentheses", "template<typename I, typename = decltype(r<I>() < r<I>())>\nvoid h();\n",
     "template <typename I, typename = decltype(r<I>() < r<I>())>\nvoid h();\n"},
    {"LessEqualInsideFoldedName", "struct Small : and_<bool_constant<sizeof(T) <= 256>, is_x<T>> { };\n",
     "struct Small : and_<bool_constant<sizeof(T) <= 256>, is_x<T>> {};\n"},
    // Constraints are copied as written; the declaration starts a line of
    // its own as after any template head.
    {"RequiresAfterHead", "template<class T> requires C<T> void f();\n",
     "template <class T> requires C<T>\nvoid f();\n"},
    {"RequiresOnLinesOfItsOwn", "template<class T>\n  requires A<T, U>\n  || (B<T> && !D<T>)\n  constexpr void g();\n",
     "template <class T>\nrequires A<T, U>\n|| (B<T> && !D<T>)\nconstexpr void g();\n"},
    {"RequiresAfterParameters", "template<class T>\nstruct S {\n  void h() const requires C<T> { }\n};\n",
     "template <class T>\nstruct S {\n    void h() const requires C<T>\n    {}\n};\n"},
    {"RequiresExpression", "template<typename T> requires requires (T a) { a.x(); } struct Q { };\n",
     "template <typename T> requires requires (T a) { a.x(); }\nstruct Q {};\n"},
    {"ReturnTypeWithParentheses", "template<class T>\n  enable_if_t<!(A<T> && B<T>)>\n  swap(T&, T&) = delete;\n",
     "template <class T>\nenable_if_t<!(A<T> && B<T>)> swap(T&, T&) = delete;\n"},
    {"BasesPerDirectiveBranch", "struct S\n#ifdef X\n  : public A<T>, B\n#else\n  : public C\n#endif\n{ };\n",
     "struct S\n#ifdef X\n: public A<T>, B\n#else\n: public C\n#endif\n{};\n"},
    // A line break kept inside a name's template arguments keeps the
    // continuation where it stands relative to the list (here aligned under
    // the argument above), run after run.
    {"BreakInsideFoldedName",
     "struct S {\n  typename R<F(typename Q<M<B>(const B,\n                             T<A...>)>::type...)>::type\n  g();\n};\n",
     "struct S {\n    typename R<F(typename Q<M<B>(const B,\n                               T<A...>)>::type...)>::type g();\n};\n"},
};

class AngleBrackets : public ::testing::TestWithParam<const char*> {};

TEST_P(AngleBrackets, FormatsKeepingTokensAndIsIdempotent)
{
    StylistCpp::FormatPipeline pipeline(StylistCppTest::shippedScheme(GetParam()));
    for (const Case& c : CASES) {
        SCOPED_TRACE(c.name);
        std::string once, twice;
        ASSERT_TRUE(StylistCppTest::formatted(pipeline, c.in, once));
        EXPECT_TRUE(StylistCppTest::sameTokens(c.in, once)) << once;
        if (std::string(GetParam()) == "Default") {
            EXPECT_EQ(c.defaultOut, once);
        }
        ASSERT_TRUE(StylistCppTest::formatted(pipeline, once, twice));
        EXPECT_EQ(once, twice);
    }
}

INSTANTIATE_TEST_SUITE_P(ShippedSchemes, AngleBrackets, ::testing::ValuesIn(StylistCppTest::SHIPPED_SCHEMES));

} // namespace

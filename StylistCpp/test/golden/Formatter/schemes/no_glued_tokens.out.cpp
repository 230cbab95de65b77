struct left: ::base::tag{};
int max BOOST_PREVENT_MACRO_SUBSTITUTION(int a,int b);
void f(){if constexpr(N>0) g();}

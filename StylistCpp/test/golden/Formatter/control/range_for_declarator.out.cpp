// the declaration of a range-for keeps its sign where written, like any declarator
void f() {
    for (const auto& kv : m)
        g(kv);
    for (auto* p : ps) {}
    for (auto &x : v) {}
    for (auto&& y : w) {}
    for (auto& z = *p; z;) {}
}

// structured bindings are declarations: a blank after "auto" or its "&", the declarators spaced by the data declaration comma keys
int g(const std::map<int, int>& m) {
    auto[a,b] = f();
    const auto & [x,y] = f();
    auto&& [p , q] = f();
    auto const& [s, t] = f();
    int total = 0;
    for (const auto&[k,v] : m)
        total += k + v;
    auto & r = total;
    const auto &cr = total;
    return a + b + x + y + r + cr;
}

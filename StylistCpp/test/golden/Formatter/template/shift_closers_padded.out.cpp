// ">>" closing two template argument lists is one token: it is never split, and "> >" stays as written
std::vector< std::vector< int >> grid;
std::map< int, std::vector< std::pair< int, int >>> table;
std::vector< std::vector< int > > spaced;
int shift(int a, int b) {
    a >>= b;
    a = a >> 2;
    std::vector< std::map< int, std::vector< int >>> nested;
    auto p = static_cast< std::vector< int >>(std::vector< int >{});
    return (a >> 1) >> b;
}

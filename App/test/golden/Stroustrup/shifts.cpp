#include <map>
#include <vector>

std::vector<std::vector<int>> grid;
std::map<int, std::vector<int>> table;

int shift(int a, int b)
{
    a >>= b;
    a = a >> 2;
    a = (a >> 1) >> 1;
    std::vector<std::map<int, std::vector<int>>> nested;
    std::vector<int> p = static_cast<std::vector<int>>(std::vector<int>{});
    return a >> b;
}

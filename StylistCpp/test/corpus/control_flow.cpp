// Control statements in the shapes real code writes them: braced and
// unbraced bodies, else-if chains, loops inside branches, early returns.
#include "control_flow.h"

#include <algorithm>
#include <string>
#include <vector>

namespace corpus {

int classify(int value)
{
    if (value < 0)
        return -1;
    else if (value == 0)
        return 0;
    else if (value < 10) {
        return 1;
    } else {
        return 2;
    }
}

int sumPositive(const std::vector<int>& values)
{
    int sum = 0;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (values[i] > 0)
            sum += values[i];
    for (int v : values) {
        if (v > 100) { sum -= v; }
        else if (v > 50) sum -= v / 2;
    }
    return sum;
}

std::string trim(const std::string& s)
{
    std::size_t first = 0;
    while (first < s.size() && s[first] == ' ')
        ++first;
    std::size_t last = s.size();
    while (last > first && s[last - 1] == ' ') { --last; }
    return s.substr(first, last - first);
}

bool Parser::next()
{
    do {
        if (m_Pos >= m_Text.size())
            return false;
        ++m_Pos;
    } while (m_Text[m_Pos] == ' ');
    do ++m_Count; while (m_Count < 3);
    switch (m_Text[m_Pos]) {
    case '(':
        if (m_Depth > 100) { return false; }
        ++m_Depth;
        break;
    case ')':
        if (m_Depth == 0)
            return false;
        --m_Depth;
        break;
    default:
        for (;;) {
            if (!advance()) break;
        }
    }
    return true;
}

Parser::Parser(const std::string& text) : m_Text(text), m_Pos(0), m_Depth(0)
{
    if (text.empty()) m_Pos = std::string::npos;
}

void Parser::run()
{
    try {
        while (next())
            if (m_Depth > 10) { report("deep"); }
            else if (m_Depth > 5) report("nested");
    } catch (const std::exception& e) {
        if (m_Strict) throw;
    } catch (...) {
        for (auto& h : m_Handlers) h();
    }
}

} // namespace corpus

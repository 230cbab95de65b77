// A class with inline member functions holding control statements.
#ifndef CORPUS_CONTROL_FLOW_H
#define CORPUS_CONTROL_FLOW_H

#include <functional>
#include <string>
#include <vector>

namespace corpus {

int classify(int value);

class Parser {
public:
    explicit Parser(const std::string& text);
    bool next();
    void run();
    int depth() const { if (m_Depth < 0) return 0; return m_Depth; }
    bool advance()
    {
        if (m_Pos + 1 < m_Text.size()) { ++m_Pos; return true; }
        else return false;
    }

private:
    void report(const char* what) { if (what) m_Last = what; }
    std::string m_Text;
    std::string m_Last;
    std::size_t m_Pos;
    std::size_t m_Count = 0;
    int m_Depth;
    bool m_Strict = false;
    std::vector<std::function<void()>> m_Handlers;
};

} // namespace corpus

#endif

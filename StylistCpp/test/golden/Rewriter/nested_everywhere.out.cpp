namespace app {
class Cache {
public:
    Cache(int n) : m_Size(n) { if (n < 0) {m_Size = 0;} }
    void clear() {
        for (auto& e : m_Entries) {
            if (e.pinned()) {continue;}
            e.reset();
        }
    }
private:
    int m_Size;
};
}

extern "C" {
int cache_size(Cache* c) { if (!c) {return 0;} return c->size(); }
}

void scan(std::vector<int>& v)
{
    {
        if (v.empty()) {return;}
    }
    struct Local { void run() { for (int i = 0; i < 2; ++i)  if (i) {go(i);} } };
    std::for_each(v.begin(), v.end(), [](int x) { if (x) use(x); });
}

struct S {
    int f() const override;
    operator int() const;
    virtual void g() = 0;
    S() noexcept(true) : a(1), b{2}
    {}
    unsigned int x : 3, y : 4;
    friend class T;
    using U = int;
    static const int k = sizeof(int) * 2;
};
int S::* pm = nullptr;
void (S::*pf)(int) = nullptr;

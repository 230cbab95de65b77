// constructors and destructors have no return type: specifiers alone take no return-type separator
class A {
    virtual ~A() {}
    explicit A(int) {}
    virtual ~A();
    explicit A(char);
    [[nodiscard]] explicit operator bool() const {
        return true;
    }
    static int
    s() {
        return 0;
    }
};
inline A::~A() {}

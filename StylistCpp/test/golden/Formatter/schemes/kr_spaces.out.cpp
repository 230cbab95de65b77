namespace n {
    class A : public B {
    public:
        A() : b(1)
        {}
        int f(int x, int y);
    };
}
int main() {
    if (a) {
        b();
    } else {
        c();
    }
    return 0;
}

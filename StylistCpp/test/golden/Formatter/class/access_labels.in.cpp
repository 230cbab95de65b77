class A {
public:
A();
protected:
int p;
private:
int q;
};

// Each signed declarator takes the same spacing after its name as the
// plain one above it.
int p = 0;
int *p = 0;
int &r = x;
int &&rr = f();
int **pp = 0;
int* q = 0;
int & s = x;
const char *name = "x", *other = 0;
Foo<int> *tp = nullptr;
int * /*c*/ cp = 0;
int a[3] = { 1 };
int *pa[3] = { 1 };
int c(0);
int *pc(0);
int b{0};
int *pb{0};
int l = 0;
int *pl = 0;
struct S {
    int *m = 0;int &n = m;
};
void g() {
    int *p = 0;
    Foo &r = x;
}

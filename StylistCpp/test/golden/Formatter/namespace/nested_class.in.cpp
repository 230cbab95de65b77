namespace n {
class C {
int x;
};
}

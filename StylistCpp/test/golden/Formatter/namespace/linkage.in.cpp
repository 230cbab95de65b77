extern "C" {
int f(int);
int g;
}

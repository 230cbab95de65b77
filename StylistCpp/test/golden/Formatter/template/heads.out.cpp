template < class T, int N >
class Array {
    T v[N];
};
template < typename T >
T max(T a, T b) {
    return a;
}
template <>
void f< int >();

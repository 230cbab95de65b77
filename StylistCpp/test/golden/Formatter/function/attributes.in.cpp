// attributes before or inside a declaration do not stop it being recognised
[[nodiscard]] int g(const std::vector<int>& v) {
  return 0;
}
[[maybe_unused]] static int x = 1;
class A {
[[nodiscard]] virtual int h(int* p) const;
int y [[maybe_unused]] = 2;
[[deprecated("no (really)")]] void k(int& r) {}
};
[[noreturn]] [[gnu::cold]] void fail(const char* m) { throw m; }

void f (int a) {
  g();
}

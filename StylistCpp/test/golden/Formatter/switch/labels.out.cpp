void f(int k) {
    switch (k) {
      case 1:
        a();
        break;
      case 2: // two
        b();
      default:
        c();
    }
}

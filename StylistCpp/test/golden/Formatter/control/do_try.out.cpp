void f()
{
    do
        x();
    while (a);
    try {
        g();
    } catch (E& e) {
        h();
    } catch (...) {}
}

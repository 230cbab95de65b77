A::A(int x, int y)
    : m_x(x)
      , m_y(y)
{}
B::B()
    : Base(1)
{
    run();
}

A::A(int x) :   m_x( x ) ,m_y(0)
{
}

void f()
{
  if (a)
  {
    x();
  }
  else if (b)
  {
    y();
  }
  else if (c)
    z();
  else
  {
    w();
  }
}

void f()
{
// QUILLON-OFF
  int   keep  =  1;
	  int x;
// QUILLON-ON
	g();
}

class   A :public B ,  C
{
int x;
      int y;
};
